// What the Curve menu's reading windows share: the range of the plot shown.
#include "window/CurveDialogs.h"

#include "numeric/FloatingPoint.h"
#include "plot/core/ViewWindow.h"

bool ShownXRange(const TPlotView& view, double& low, double& high)
{
    try {
        const TPlotRequest& request = view.Shown().Request;
        ReadXRange(request.XlowText, request.XhighText, low, high);
        return true;
    } catch (const std::exception&) {
        ResetFpu();
        return false;
    }
}
