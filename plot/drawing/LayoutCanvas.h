// A canvas that draws nothing: a plot run on it only fits its view and takes
// its samples, for the outputs that are not pictures (a LaTeX axis, a sound).
#pragma once

#include "plot/drawing/Canvas.h"

// The character width and line height a canvas that draws nothing reports,
// so the layout that measures texts (the legend, the labels) goes as usual.
inline constexpr int NominalCharWidth = 7;
inline constexpr int NominalLineHeight = 15;

// Texts are measured at a nominal size, as the layout needs some size.
class TLayoutCanvas final : public TCanvas {
public:
    explicit TLayoutCanvas(TPictureSize size) : Size_(size) {}
    TPictureSize Size() const override { return Size_; }
    void SetPen(TColor color, std::int32_t width) override { Pen = color, Width = width; }
    TColor PenColor() const override { return Pen; }
    std::int32_t PenWidth() const override { return Width; }
    void SetBrush(TColor) override {}
    void Rectangle(std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {}
    void RectangleOutline(std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {}
    void Line(std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {}
    void SetFont(const QString&, int points, TColor) override { Points = points; }
    int FontPoints() const override { return Points; }
    void SetFontPoints(int points) override { Points = points; }
    QSize TextExtent(const QString& text) const override
    {
        return {static_cast<int>(text.size()) * NominalCharWidth, NominalLineHeight};
    }
    QRect TextInk(std::int32_t x, std::int32_t y, const QString& text) const override
    {
        return {QPoint(x, y), TextExtent(text)};
    }
    void TextOut(std::int32_t, std::int32_t, const QString&) override {}
    void TextOutUpward(std::int32_t, std::int32_t, const QString&) override {}

private:
    TPictureSize Size_;
    TColor Pen = 0;
    std::int32_t Width = 1;
    int Points = 8;
};
