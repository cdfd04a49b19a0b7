// "Points of interest": a window beside the main one listing the roots,
// extrema, y-intercept and ends of undefined stretches of the plot shown,
// found again after every plot, with a copy of the list as text.
#pragma once

#include <QDialog>

class QTableWidget;
class QLabel;
class TPlotView;

class TPointsDialog : public QDialog {
    Q_OBJECT

public:
    TPointsDialog(TPlotView& view, QWidget* parent = nullptr);

    // The list as tab-separated text, a header line first ("kind", "x", "y";
    // polar "kind", "angle", "r", "x", "y"), a line each point.
    QString ListText() const;
    // Puts ListText on the clipboard.
    void CopyList() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Finds the points of the plot shown and lists them; a hidden window
    // waits until it is shown, so that a z drag pays nothing for it.
    void Refresh();

    TPlotView& View;
    QLabel* Caption;
    QTableWidget* List;
};
