// The table-of-values model: rows from the core a block at a time, shown
// as the program's number text.
#include "window/ValueTableModel.h"

#include "numeric/Exceptions.h"
#include "numeric/NumberText.h"
#include "plot/core/FormulaCompile.h"

#include <algorithm>

namespace {

// Digits of a table cell: the steps typed (0.1) read as typed, not with the
// binary tail 17 digits would show.
constexpr int CellDigits = 15;

QString CellText(double value)
{
    return QString::fromStdString(FormatGeneral(value, CellDigits));
}

}  // namespace

void TValueTableModel::SetCurve(const std::string& formula, double z, bool polar)
{
    const bool shapeChanged = !HasCurve_ || polar != Polar_;
    if (const std::optional<std::string> report = CompileForPlot(Evaluator_, formula, " ")) {
        Clear();
        throw Exception(*report);
    }
    HasCurve_ = true;
    Polar_ = polar;
    Z_ = z;
    Recompute(shapeChanged);
}

void TValueTableModel::SetRange(const TTableRange& range)
{
    Range_ = range;
    Recompute(true);
}

void TValueTableModel::Clear()
{
    beginResetModel();
    HasCurve_ = false;
    for (TBlock& block : Blocks)
        block.First = -1;
    endResetModel();
}

void TValueTableModel::Recompute(bool shapeChanged)
{
    if (shapeChanged)
        beginResetModel();
    for (TBlock& block : Blocks)
        block.First = -1;
    if (shapeChanged)
        endResetModel();
    else if (rowCount() > 0)
        // The same rows with new values: the view keeps its place.
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

int TValueTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !HasCurve_ ? 0 : static_cast<int>(Range_.RowCount);
}

int TValueTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Polar_ ? 4 : 2;
}

const TTableRow& TValueTableModel::Row(std::int64_t row) const
{
    const std::int64_t first = row / BlockRows * BlockRows;
    auto cached = std::find_if(Blocks.begin(), Blocks.end(), [&](const TBlock& block) { return block.First == first; });
    if (cached == Blocks.end()) {
        cached = Blocks.begin() + static_cast<std::ptrdiff_t>(NextBlock);
        NextBlock = (NextBlock + 1) % CachedBlocks;
        cached->Rows.resize(BlockRows);
        cached->Rows.resize(static_cast<std::size_t>(
            TableRows(Evaluator_, Range_, Z_, Polar_, first, BlockRows, cached->Rows.data())));
        cached->First = first;
    }
    return cached->Rows[static_cast<std::size_t>(row - first)];
}

QVariant TValueTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    const TTableRow& row = Row(index.row());
    if (index.column() == 0)
        return CellText(row.X);
    if (row.Undefined)
        return UndefinedText;
    const double values[] = {row.Value, row.PlaneX, row.PlaneY};
    return CellText(values[index.column() - 1]);
}

QVariant TValueTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    const QStringList names = QString::fromUtf8(TableCsvHeader(Polar_)).split(QLatin1Char(','));
    return section < names.size() ? names[section] : QVariant();
}
