// The moves of the world window: the pans by a fifth of the span, the zoom
// about a clicked point, the drag, the wheel and the position readout. Each
// move works on the two ends of one axis in place: the y range of the window
// itself, or a copy of the x range of the mode (Cartesian: the numbers of the
// range texts; polar: XMin and XMax) that the caller writes back. The ends
// change one after the other in the order given, each rounded to a double
// as it is stored: a move that overflows stops there with EOverflow.
#pragma once

#include "plot/core/ViewWindow.h"

#include <cstdint>

// Left and down show what lay left of or below the window: Low moves first,
// by a fifth of the span, and High follows at the old span. Up does the same
// upwards; right moves High first and Low follows.
void PanLeft(double& Low, double& High);
void PanRight(double& Low, double& High);
void PanUp(double& Low, double& High);
void PanDown(double& Low, double& High);

// The clicked world point becomes the centre: zooming in halves the span,
// zooming out doubles it. High first, then Low.
void ZoomAbout(double& Low, double& High, double centre, bool zoomIn);

// A drag that moved the world point under the pointer by `offset` moves the
// window the other way, so the point stays under the pointer. High first.
void DragBy(double& Low, double& High, double offset);
// The world offset from the pixel where a drag began to the one where it ended.
void DragOffset(const TViewWindow& view, TPictureSize size, std::int32_t X0, std::int32_t Y0,
                std::int32_t X1, std::int32_t Y1, double& dx, double& dy);

// A wheel turn adds up in `angle` until it makes whole notches of 120 units,
// which it takes out and returns (negative backward); touchpads send less.
int TakeWheelNotches(int& angle, int angleDelta);
// Each notch forward scales the span by 1/1.25 about `centre`, each one
// backward by 1.25; the centre keeps its place in the span. Low first.
void WheelZoomAbout(double& Low, double& High, double centre, int notches);

// The world point shown for the pixel (X, Y): its PixelToWorld, with x and y
// made exactly 0 on the column and row whose two neighbours lie on opposite
// sides of an axis.
void ReadoutPosition(const TViewWindow& view, TPictureSize size, std::int32_t X, std::int32_t Y,
                     double& WorldX, double& WorldY);
