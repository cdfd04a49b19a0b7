// The Preferences dialog made, shown and released for one edit of the
// drawing settings.
#include "preferences/EditPreferences.h"

#include "preferences/PrefDialog.h"
#include "plot/core/CurveSound.h"

#include <memory>

namespace {

// The dialog may still have events queued when it closes; it goes once they
// are handled, also when an exception ends the edit early.
struct TDeleteLater {
    void operator()(TPrefDialog* dialog) const { dialog->deleteLater(); }
};

}  // namespace

bool EditPreferences(TDrawingSettings& settings, QWidget* parent)
{
    std::int32_t soundSeconds = DefaultSoundSeconds;
    return EditPreferences(settings, soundSeconds, parent);
}

bool EditPreferences(TDrawingSettings& settings, std::int32_t& soundSeconds, QWidget* parent)
{
    const std::unique_ptr<TPrefDialog, TDeleteLater> dialog(new TPrefDialog(parent));
    dialog->Fill(settings);
    dialog->FillSoundSeconds(soundSeconds);
    if (dialog->exec() != QDialog::Accepted)
        return false;
    settings = dialog->Settings();
    soundSeconds = dialog->SoundSeconds();
    return true;
}
