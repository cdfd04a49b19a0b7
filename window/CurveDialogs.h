// The Curve menu's reading windows, made once and shown again: the points of
// interest and the table of values of the plot shown.
#pragma once

#include "shell/ErrorBox.h"
#include "window/PlotView.h"
#include "window/PointsDialog.h"
#include "window/TableDialog.h"

#include <memory>

// The range the shown plot was sampled over (polar: the angle range), low
// end first as typed; false when its texts do not read.
bool ShownXRange(const TPlotView& view, double& low, double& high);

// Makes the dialog over `view` the first time, over the view's window, and
// brings it forward; it stays open beside the window, following the plots.
template <class Dialog>
void ShowCurveDialog(std::unique_ptr<Dialog>& dialog, TPlotView& view)
{
    QWidget* parent = view.window();
    RunGuarded(parent, [&] {
        if (!dialog)
            dialog = std::make_unique<Dialog>(view, parent);
        dialog->show();
        dialog->raise();
        dialog->activateWindow();
    });
}
