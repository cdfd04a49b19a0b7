// The settings written soon after a change, once the changes pause, so that
// an end without a close (the display gone) keeps them.
#pragma once

#include "settings/SettingsFile.h"

#include <QObject>
#include <QTimer>

#include <optional>
#include <string>

class TSettingsAutosave : public QObject {
public:
    // The first autosave made also writes what is unsaved when the process
    // ends through exit() without a close.
    explicit TSettingsAutosave(std::string fileName);
    ~TSettingsAutosave() override;

    const std::string& FileName() const { return FileName_; }
    // Keeps `settings` to be written once changes pause.
    void Changed(TSettings settings);
    // Writes what is kept now; a refused write is reported when the window
    // closes, not at every change.
    void SaveNow();

private:
    std::string FileName_;
    QTimer Timer;
    std::optional<TSettings> Unsaved;
};
