// The one way the program edits its drawing settings: the Preferences dialog,
// made afresh for each use.
#pragma once

#include "plot/core/DrawingSettings.h"

#include <cstdint>

class QWidget;

// Shows the Preferences dialog modally on copies of the seven settings. On
// OK it writes them back (the line width as 1 for "Narrow", 3 for "Wide")
// and returns true; Cancel, Enter where no other control takes it, Escape
// and the window frame change nothing and return false.
bool EditPreferences(TColor& background, TColor& axis, TColor& goodPoint, TColor& badPoint,
                     std::int32_t& lineWidth, bool& boundary, bool& ticks, QWidget* parent = nullptr);
