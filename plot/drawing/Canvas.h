// What a plot is drawn on: a surface of W × H pixels with a pen, a solid
// fill and a font, in whole-pixel coordinates. A picture or a PDF page is
// drawn by Qt's painter (plot/PlotCanvas.h); the plots themselves know only
// this, so they also draw where Qt's GUI is not loaded.
#pragma once

#include "plot/core/DrawingSettings.h"
#include "plot/core/ViewWindow.h"

#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>

class TCanvas {
public:
    virtual ~TCanvas() = default;

    virtual TPictureSize Size() const = 0;

    virtual void SetPen(TColor color, std::int32_t width) = 0;
    virtual TColor PenColor() const = 0;
    virtual std::int32_t PenWidth() const = 0;
    void SetPenColor(TColor color) { SetPen(color, PenWidth()); }
    void SetPenWidth(std::int32_t width) { SetPen(PenColor(), width); }
    virtual void SetBrush(TColor color) = 0;

    // Outline in the pen, inside in the brush; both corners lie on the outline.
    virtual void Rectangle(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) = 0;
    // The outline alone, for a rectangle whose inside already has the brush colour.
    virtual void RectangleOutline(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) = 0;
    // Both end pixels included.
    virtual void Line(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) = 0;

    // A font given by name, size in points (at 96 dots per inch) and colour.
    virtual void SetFont(const QString& family, int points, TColor color) = 0;
    virtual int FontPoints() const = 0;
    virtual void SetFontPoints(int points) = 0;
    // Width and height of a text in the current font.
    virtual QSize TextExtent(const QString& text) const = 0;
    // The box of the letters of a text placed at (x, y), without the blank
    // band of its line above and below them.
    virtual QRect TextInk(std::int32_t x, std::int32_t y, const QString& text) const = 0;
    // The text with its top-left corner at (x, y), on a box in the brush colour.
    virtual void TextOut(std::int32_t x, std::int32_t y, const QString& text) = 0;
    // The text turned a quarter turn counter-clockwise, so it reads upwards,
    // on a box in the brush colour whose top-left corner is (x, y): as wide
    // as TextExtent is high, and as high as it is wide.
    virtual void TextOutUpward(std::int32_t x, std::int32_t y, const QString& text) = 0;
};
