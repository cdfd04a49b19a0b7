// The pictures of the navigation buttons, drawn by the program at every
// device pixel ratio so that they stay sharp.
#pragma once

#include <QIcon>

enum class TFlatPicture { ArrowUp, ArrowDown, ArrowLeft, ArrowRight, Origin, ZoomOut, ZoomIn };

// A white arrow or cross on a blue square, or a magnifying glass with a
// minus or plus sign.
QIcon FlatButtonIcon(TFlatPicture picture);
