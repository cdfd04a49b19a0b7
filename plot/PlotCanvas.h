// The drawing surface of one plot: a fresh picture of W × H pixels with a
// pen, a solid fill and a font, drawn without antialiasing so that every
// position lands on its pixel. On a screen of device pixel ratio r the
// picture holds r·W × r·H device pixels and is drawn in the same W × H
// coordinates, so lines and text are sharp rather than scaled up. The same
// drawing goes to any other paint device (an SVG or PDF page) in the same
// coordinates, with lines through the centres of the pixels they cover.
// Each of these kinds of canvas has one way of handing lines and texts to
// the painter, chosen when the canvas is made.
#pragma once

#include "plot/TextCache.h"
#include "plot/drawing/Canvas.h"
#include "plot/drawing/PageGeometry.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QString>

#include <memory>
#include <vector>

class TPlotCanvas final : public TCanvas {
public:
    enum class TDrawing {
        // Lines of one pen handed to the painter together, labels laid out
        // once and kept in the text cache.
        Fast,
        // Every line handed to the painter on its own and every text laid out
        // anew, as a plain painter is used: the pictures must not differ.
        Plain,
    };

    // Texts are measured and laid out once in `texts`, which must outlive the
    // canvas, or in a cache of the canvas's own when none is given. Raises
    // EOutOfMemory when no picture of that size can be had.
    // A look with its own pixels draws the W × H drawing scaled onto them
    // and records its resolution in the picture.
    explicit TPlotCanvas(TPictureSize size, qreal devicePixelRatio = 1.0, TTextCache* texts = nullptr,
                         TDrawing drawing = TDrawing::Fast, const TPageLook& look = {});
    // Draws on `device`, which must outlive the canvas and span W × H units.
    TPlotCanvas(TPictureSize size, QPaintDevice& device, TTextCache* texts = nullptr, const TPageLook& look = {});
    ~TPlotCanvas() override;
    TPlotCanvas(const TPlotCanvas&) = delete;
    TPlotCanvas& operator=(const TPlotCanvas&) = delete;

    TPictureSize Size() const override { return Size_; }

    void SetPen(TColor color, std::int32_t width) override;
    TColor PenColor() const override { return PenColor_; }
    std::int32_t PenWidth() const override { return PenWidth_; }
    void SetBrush(TColor color) override { BrushColor_ = color; }

    void Rectangle(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) override;
    void RectangleOutline(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) override;
    // Lines of one pen are handed to the painter together, when the pen
    // changes or anything else is drawn: one call for a whole curve costs far
    // less than one per segment, for the same pixels.
    void Line(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) override;

    void SetFont(const QString& family, int points, TColor color) override;
    int FontPoints() const override { return FontPoints_; }
    void SetFontPoints(int points) override;
    QSize TextExtent(const QString& text) const override;
    QRect TextInk(std::int32_t x, std::int32_t y, const QString& text) const override;
    // On a picture of ratio 1 the text's layout is kept for the next plot:
    // the same labels come back plot after plot.
    void TextOut(std::int32_t x, std::int32_t y, const QString& text) override;
    void TextOutUpward(std::int32_t x, std::int32_t y, const QString& text) override;

    // Ends drawing and hands over the picture (none on another device).
    QImage Finish();

    // The boxes of the texts drawn so far, in the order drawn.
    struct TDrawnText {
        QRect Box;
        QString Text;
    };
    const std::vector<TDrawnText>& DrawnTexts() const { return Texts; }

private:
    // How this canvas hands lines and texts to the painter.
    struct TPath {
        // A line within reach of the rasteriser, in the picture's pixels.
        void (TPlotCanvas::*Line)(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
        // The lines held back so far, drawn.
        void (TPlotCanvas::*FlushLines)();
        // The characters [first, first + count) of a text whose box starts at (x, y).
        void (TPlotCanvas::*Text)(std::int32_t x, std::int32_t y, const QString& text, qsizetype first,
                                  qsizetype count);
    };
    static const TPath& PathOf(bool scaled, bool page, TDrawing drawing);

    void HoldLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
    void HoldCentredLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
    void DrawLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
    void DrawCentredLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
    void DrawHeldLines();
    void DrawHeldCentredLines();
    void DrawHeldPaths();
    void NoHeldLines() {}
    void DrawKnownText(std::int32_t x, std::int32_t y, const QString& text, qsizetype first, qsizetype count);
    void DrawPlainText(std::int32_t x, std::int32_t y, const QString& text, qsizetype first, qsizetype count);

    void Begin(QPaintDevice& device, TTextCache* texts);
    void FlushLines() { (this->*Path->FlushLines)(); }
    // `box` in the brush colour, or cleared when that colour is left transparent.
    void Fill(const QRect& box);
    void ApplyFont();
    // A text of the current font: its advance, and with `laidOut` its glyphs.
    const TTextCache::TText& Known(const QString& text, bool laidOut) const;
    // A monospaced text long enough that measuring and laying it out whole
    // would cost more than the few characters that can be seen.
    bool IsLongFixedPitchText(const QString& text) const;

    TPictureSize Size_;
    TPageLook Look;
    bool Scaled;
    const TPath* Path = nullptr;
    std::unique_ptr<TTextCache> OwnCache;
    TTextCache* Cache = nullptr;
    QImage Image;
    QPainter Painter;
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
