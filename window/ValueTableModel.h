// The rows of a table of values as a Qt model: computed a block at a time as
// a view asks for them, so that a table of millions of rows scrolls at once.
#pragma once

#include "RapidEvaluator/RapidEvaluator.h"
#include "plot/core/ValueTable.h"

#include <QAbstractTableModel>

#include <array>
#include <cstdint>
#include <vector>

// The text a value the formula does not have is shown as.
inline const QString UndefinedText = QStringLiteral("undefined");

class TValueTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // Compiles `formula` of its own, so that the rows stay readable whatever
    // the window compiles next; a formula that does not compile empties the
    // table and raises the report.
    void SetCurve(const std::string& formula, double z, bool polar);
    void SetRange(const TTableRange& range);
    // Empties the table until the next SetCurve.
    void Clear();

    bool HasCurve() const { return HasCurve_; }
    bool Polar() const { return Polar_; }
    double Z() const { return Z_; }
    const TTableRange& Range() const { return Range_; }
    const TRapidEvaluator& Evaluator() const { return Evaluator_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    static constexpr std::int32_t BlockRows = 256;
    static constexpr std::size_t CachedBlocks = 4;
    struct TBlock {
        std::int64_t First = -1;
        std::vector<TTableRow> Rows;
    };
    const TTableRow& Row(std::int64_t row) const;
    // The cached rows are stale; the view repaints.
    void Recompute(bool shapeChanged);

    TRapidEvaluator Evaluator_;
    bool HasCurve_ = false;
    bool Polar_ = false;
    double Z_ = 0;
    TTableRange Range_;
    // The last blocks asked for, replaced in turn: a screenful straddles two.
    mutable std::array<TBlock, CachedBlocks> Blocks;
    mutable std::size_t NextBlock = 0;
};
