// A plot written as an SVG document with Qt's core alone: the drawing Qt's
// painter makes of it on a page, in the same coordinates (lines through the
// centres of the pixels they cover, each run of joined segments one
// polyline, texts as text in the program's fixed-pitch face on their boxes),
// measured with that face's own metrics, so that no GUI library is loaded.
#pragma once

#include "plot/drawing/Canvas.h"
#include "plot/drawing/FaceMetrics.h"
#include "plot/drawing/PageGeometry.h"

#include <QByteArray>

#include <map>
#include <memory>

struct TPlotRequest;
class TPlotter;
class TRapidEvaluator;

class TSvgCanvas final : public TCanvas {
public:
    // Texts are measured with the face file `monoFace`; raises Exception
    // naming it when it cannot be read. A look with a physical size gives the
    // page that size, its view box still the drawing's pixels.
    TSvgCanvas(TPictureSize size, const QString& monoFace, const TPageLook& look = {});
    ~TSvgCanvas() override;

    TPictureSize Size() const override { return Size_; }

    void SetPen(TColor color, std::int32_t width) override;
    TColor PenColor() const override { return PenColor_; }
    std::int32_t PenWidth() const override { return PenWidth_; }
    void SetBrush(TColor color) override { BrushColor_ = color; }

    void Rectangle(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) override;
    void RectangleOutline(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) override;
    void Line(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) override;

    // Every text is measured in the fixed-pitch face: the one face a plot's
    // texts are drawn in.
    void SetFont(const QString& family, int points, TColor color) override;
    int FontPoints() const override { return FontPoints_; }
    void SetFontPoints(int points) override;
    QSize TextExtent(const QString& text) const override;
    QRect TextInk(std::int32_t x, std::int32_t y, const QString& text) const override;
    void TextOut(std::int32_t x, std::int32_t y, const QString& text) override;
    void TextOutUpward(std::int32_t x, std::int32_t y, const QString& text) override;

    // Ends the document and hands it over.
    QByteArray Finish();

private:
    const TFaceMetrics& Metrics() const;
    void EndRun();
    void EndGroup();
    void BeginGroup();
    void Point(double x, double y);
    void Point(std::int32_t x, std::int32_t y);
    // A fill in the brush colour that a transparent background leaves out.
    bool BrushIsClear() const { return Look.Transparent && *Look.Transparent == BrushColor_; }

    TPictureSize Size_;
    TPageLook Look;
    QString MonoFace;
    mutable std::map<int, std::unique_ptr<TFaceMetrics>> Faces;
    QByteArray Document;
    TColor PenColor_ = 0;
    std::int32_t PenWidth_ = 1;
    TColor BrushColor_ = 0xFFFFFF;
    QString Family;
    int FontPoints_ = 8;
    TColor FontColor = 0;
    // The group of lines of the current pen is open, and a polyline in it
    // whose last point (in picture pixels) is (RunX, RunY).
    bool InGroup = false;
    bool InRun = false;
    std::int32_t RunX = 0, RunY = 0;
};

// One complete plot as an SVG page of the plotter's picture size. Raises the
// plot's errors, and Exception when the fixed-pitch face's file cannot be read.
QByteArray PlotSvgPage(TPlotter& plotter, const TRapidEvaluator& evaluator, const TPlotRequest& request);
