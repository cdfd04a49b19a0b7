// The settings' autosave: a pause timer, and an atexit hook for the end of
// the process that runs no destructor of the stack.
#include "window/SettingsAutosave.h"

#include <cstdlib>

namespace {

// Changes are saved once they pause this long.
constexpr int SaveDelayMs = 300;

// The display's end makes the toolkit call exit(), which runs this hook and
// no destructor of the stack: the autosave that registered it is reached
// through this pointer while it lives.
TSettingsAutosave* AtExitAutosave = nullptr;

void SaveAtExit()
{
    if (AtExitAutosave != nullptr)
        AtExitAutosave->SaveNow();
}

}  // namespace

TSettingsAutosave::TSettingsAutosave(std::string fileName) : FileName_(std::move(fileName))
{
    Timer.setSingleShot(true);
    Timer.setInterval(SaveDelayMs);
    connect(&Timer, &QTimer::timeout, this, &TSettingsAutosave::SaveNow);
    static const bool atExit = std::atexit(SaveAtExit) == 0;
    if (atExit)
        AtExitAutosave = this;
}

TSettingsAutosave::~TSettingsAutosave()
{
    if (AtExitAutosave == this)
        AtExitAutosave = nullptr;
}

void TSettingsAutosave::Changed(TSettings settings)
{
    Unsaved = std::move(settings);
    Timer.start();
}

void TSettingsAutosave::SaveNow()
{
    if (!Unsaved)
        return;
    try {
        TIniFile file(FileName_);
        WriteSettings(file, *Unsaved);
    } catch (...) {
    }
    Unsaved.reset();
}
