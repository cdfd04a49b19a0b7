// Conversions between the program's 0x00BBGGRR colours and Qt's colours.
#pragma once

#include "plot/core/DrawingSettings.h"

#include <QColor>

// The low 24 bits are the colour; the top byte carries no colour and is not
// looked at.
QColor ColorToQColor(TColor color);

// The 8-bit red, green and blue of `color`, with the top byte clear; alpha
// is dropped, since the picture has none.
TColor QColorToColor(const QColor& color);
