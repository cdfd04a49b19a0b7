// The one way the program edits its drawing settings: the Preferences dialog,
// made afresh for each use.
#pragma once

#include "plot/core/DrawingSettings.h"

#include <cstdint>

class QWidget;

// Shows the Preferences dialog modally on a copy of the drawing settings. On
// OK it writes them back (the line width as 1 for "Narrow", 3 for "Wide")
// and returns true; Cancel, Enter where no other control takes it, Escape
// and the window frame change nothing and return false.
bool EditPreferences(TDrawingSettings& settings, QWidget* parent = nullptr);

// The same with the length in seconds the window plays the curve for, which
// OK writes back too (within MinSoundSeconds..MaxSoundSeconds).
bool EditPreferences(TDrawingSettings& settings, std::int32_t& soundSeconds, QWidget* parent);
