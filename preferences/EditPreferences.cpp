// The Preferences dialog made, shown and released for one edit of the
// drawing settings.
#include "preferences/EditPreferences.h"

#include "preferences/PrefDialog.h"

#include <memory>

namespace {

// The dialog may still have events queued when it closes; it goes once they
// are handled, also when an exception ends the edit early.
struct TDeleteLater {
    void operator()(TPrefDialog* dialog) const { dialog->deleteLater(); }
};

}  // namespace

bool EditPreferences(TColor& background, TColor& axis, TColor& goodPoint, TColor& badPoint,
                     std::int32_t& lineWidth, bool& boundary, bool& ticks, QWidget* parent)
{
    const std::unique_ptr<TPrefDialog, TDeleteLater> dialog(new TPrefDialog(parent));
    TDrawingSettings settings;
    settings.BackgroundColor = background;
    settings.AxisColor = axis;
    settings.GoodPointColor = goodPoint;
    settings.BadPointColor = badPoint;
    settings.LineWidth = lineWidth;
    settings.Boundary = boundary;
    settings.Ticks = ticks;
    dialog->Fill(settings);

    if (dialog->exec() != QDialog::Accepted)
        return false;
    settings = dialog->Settings();
    background = settings.BackgroundColor;
    axis = settings.AxisColor;
    goodPoint = settings.GoodPointColor;
    badPoint = settings.BadPointColor;
    lineWidth = settings.LineWidth;
    boundary = settings.Boundary;
    ticks = settings.Ticks;
    return true;
}
