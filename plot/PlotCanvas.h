// The drawing surface of one plot: a fresh picture of W × H pixels with a
// pen, a solid fill and a font, drawn without antialiasing so that every
// position lands on its pixel. On a screen of device pixel ratio r the
// picture holds r·W × r·H device pixels and is drawn in the same W × H
// coordinates, so lines and text are sharp rather than scaled up. The same
// drawing goes to any other paint device (an SVG or PDF page) in the same
// coordinates, with lines through the centres of the pixels they cover.
#pragma once

#include "plot/core/DrawingSettings.h"
#include "plot/core/ViewWindow.h"

#include <QFont>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QList>
#include <QImage>
#include <QPainter>
#include <QString>

#include <vector>

class TPlotCanvas {
public:
    // Raises EOutOfMemory when no picture of that size can be had.
    explicit TPlotCanvas(TPictureSize size, qreal devicePixelRatio = 1.0);
    // Draws on `device`, which must outlive the canvas and span W × H units.
    TPlotCanvas(TPictureSize size, QPaintDevice& device);
    TPlotCanvas(const TPlotCanvas&) = delete;
    TPlotCanvas& operator=(const TPlotCanvas&) = delete;

    TPictureSize Size() const { return Size_; }

    void SetPen(TColor color, std::int32_t width);
    void SetPenColor(TColor color) { SetPen(color, PenWidth_); }
    void SetPenWidth(std::int32_t width) { SetPen(PenColor_, width); }
    TColor PenColor() const { return PenColor_; }
    void SetBrush(TColor color) { BrushColor_ = color; }
    TColor BrushColor() const { return BrushColor_; }

    // Outline in the pen, inside in the brush; both corners lie on the outline.
    void Rectangle(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);
    // The outline alone, for a rectangle whose inside already has the brush colour.
    void RectangleOutline(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);
    // Both end pixels included. Lines of one pen are handed to the painter
    // together, when the pen changes or anything else is drawn: one call for
    // a whole curve costs far less than one per segment, for the same pixels.
    void Line(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);

    // A font given by name, size in points (at 96 dots per inch) and colour.
    void SetFont(const QString& family, int points, TColor color);
    int FontPoints() const { return FontPoints_; }
    void SetFontPoints(int points);
    // Width and height of a text in the current font.
    QSize TextExtent(const QString& text) const;
    // The box of the letters of a text placed at (x, y), without the blank
    // band of its line above and below them.
    QRect TextInk(std::int32_t x, std::int32_t y, const QString& text) const;
    // The text with its top-left corner at (x, y), on a box in the brush colour.
    // On a picture of ratio 1 its layout is kept for the next plot: the same
    // labels come back plot after plot.
    void TextOut(std::int32_t x, std::int32_t y, const QString& text);

    // Ends drawing and hands over the picture (none on another device).
    QImage Finish();

    // Every line handed to the painter at once and every text laid out anew,
    // as a plain painter is used; the pictures must not differ.
    void SetImmediate(bool immediate) { Immediate = immediate; }

    // The boxes of the texts drawn so far, in the order drawn.
    struct TDrawnText {
        QRect Box;
        QString Text;
    };
    const std::vector<TDrawnText>& DrawnTexts() const { return Texts; }

private:
    void Begin(QPaintDevice& device);
    void FlushLines();
    void ApplyFont();
    // A text of the current font: its advance, and with `laidOut` its glyphs.
    struct TKnownText {
        int Advance = 0;
        bool LaidOut = false;
        QList<QGlyphRun> Runs;
        qreal Ascent = 0;
    };
    const TKnownText& Known(const QString& text, bool laidOut) const;
    // A monospaced text long enough that measuring and laying it out whole
    // would cost more than the few characters that can be seen.
    bool IsLongFixedPitchText(const QString& text) const;

    TPictureSize Size_;
    bool Scaled;
    bool Vector = false;
    QImage Image;
    QPainter Painter;
    bool Immediate = false;
    std::vector<QLine> Lines;
    std::vector<QLineF> CentredLines;
    std::vector<TDrawnText> Texts;
    TColor PenColor_ = 0;
    std::int32_t PenWidth_ = 1;
    TColor BrushColor_ = 0xFFFFFF;
    QFont Font;
    QFontMetrics Metrics{Font};
    QString FontKey;
    int FontPoints_ = 8;
    TColor FontColor = 0;
    bool FixedPitch = false;
    qreal Advance = 0.0;
};

QColor ToQColor(TColor color);
