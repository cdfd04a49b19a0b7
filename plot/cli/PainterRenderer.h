// orvalis-plot's run with Qt's painter: pictures, PDF pages and animations.
// It makes up the program's painter module (PainterModule.cpp).
#pragma once

#include "plot/cli/Renderer.h"

// Draws the request with Qt's painter and writes it (any format), with the
// statuses of RenderPlot. Needs a QGuiApplication.
TRendererOutcome RenderPlot(const TRendererRequest& request);
