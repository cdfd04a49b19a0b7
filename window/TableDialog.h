// "Table of values": a window beside the main one with the curve's values
// from, to and step as typed, a virtual table over them that follows the
// plots, the selection copied as tab-separated text and the whole table
// saved as CSV.
#pragma once

#include "window/ValueTableModel.h"

#include <QDialog>
#include <QString>

class QLineEdit;
class QTableView;
class TPlotView;

class TTableDialog : public QDialog {
    Q_OBJECT

public:
    // The fields start at the shown x range in 20 steps.
    TTableDialog(TPlotView& view, QWidget* parent = nullptr);

    const TValueTableModel& Model() const { return Model_; }
    // Reads the three fields into the table; a field that cannot make one is
    // named in a message, focused, and the table stays as it was.
    void ShowTable();
    // The selected cells as tab-separated lines, on the clipboard.
    void CopySelection() const;
    // "Save as CSV...": the whole table through the file writer.
    void SaveAsCsv();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The curve of the plot shown, at its z and in its mode.
    void FollowPlot();
    void FillDefaultFields();

    TPlotView& View;
    TValueTableModel Model_;
    QLineEdit* FromEdit;
    QLineEdit* ToEdit;
    QLineEdit* StepEdit;
    QTableView* Table;
    QString LastName;
    bool Saving = false;
};
