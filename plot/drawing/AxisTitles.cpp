// The axes' titles: the plot drawn on the part of the picture that leaves
// room for them, the x axis's title under the x labels and the y axis's
// turned upwards left of the y axis's name.
#include "plot/drawing/Canvas.h"
#include "plot/drawing/FaceFiles.h"
#include "plot/drawing/Plotter.h"

#include "numeric/CheckedArithmetic.h"
#include "numeric/Exceptions.h"

#include <algorithm>

namespace {

// Between a tick and its label, as the axes draw them.
constexpr std::int32_t LabelGap = 5;
// Between the labels or the axis's name and a title, and between a title and
// the picture's edge.
constexpr std::int32_t TitleGap = 3;
constexpr std::int32_t EdgeGap = 1;

// The plot's part of the picture: everything drawn on it is moved right by
// Left, so the plot needs no knowledge of the strip beside it.
class TShiftedCanvas final : public TCanvas {
public:
    TShiftedCanvas(TCanvas& whole, std::int32_t left, TPictureSize size) : Whole(whole), Left(left), Size_(size) {}

    TPictureSize Size() const override { return Size_; }
    void SetPen(TColor color, std::int32_t width) override { Whole.SetPen(color, width); }
    TColor PenColor() const override { return Whole.PenColor(); }
    std::int32_t PenWidth() const override { return Whole.PenWidth(); }
    void SetBrush(TColor color) override { Whole.SetBrush(color); }
    void Rectangle(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) override
    {
        Whole.Rectangle(Shift(left), top, Shift(right), bottom);
    }
    void RectangleOutline(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) override
    {
        Whole.RectangleOutline(Shift(left), top, Shift(right), bottom);
    }
    void Line(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) override
    {
        Whole.Line(Shift(x1), y1, Shift(x2), y2);
    }
    void SetFont(const QString& family, int points, TColor color) override { Whole.SetFont(family, points, color); }
    int FontPoints() const override { return Whole.FontPoints(); }
    void SetFontPoints(int points) override { Whole.SetFontPoints(points); }
    QSize TextExtent(const QString& text) const override { return Whole.TextExtent(text); }
    QRect TextInk(std::int32_t x, std::int32_t y, const QString& text) const override
    {
        return Whole.TextInk(Shift(x), y, text).translated(-Left, 0);
    }
    void TextOut(std::int32_t x, std::int32_t y, const QString& text) override { Whole.TextOut(Shift(x), y, text); }
    void TextOutUpward(std::int32_t x, std::int32_t y, const QString& text) override
    {
        Whole.TextOutUpward(Shift(x), y, text);
    }

private:
    // Far coordinates stay far: the canvases clip what lies beyond reach.
    std::int32_t Shift(std::int32_t x) const { return x > INT32_MAX - Left ? x : x + Left; }

    TCanvas& Whole;
    std::int32_t Left;
    TPictureSize Size_;
};

// Where a text of `length` is centred on [from, to], kept inside [0, side)
// when it fits.
std::int32_t Centred(std::int32_t from, std::int32_t to, std::int32_t length, std::int32_t side)
{
    const std::int32_t place = from + (to - from - length) / 2;
    return std::clamp(place, 0, std::max(0, side - length));
}

}  // namespace

void TPlotter::PlotWithAxisTitles(const TRapidEvaluator& evaluator, const TPlotRequest& request, TCanvas& canvas)
{
    // The titles are in the labels' font, which the frame leaves set; the y
    // axis's stays below the title line.
    const int points = canvas.FontPoints();
    const std::int32_t top = TitleLineBottom(canvas) + TitleGap;
    canvas.SetFont(QString::fromLatin1(ProgramMonoFace), points, request.Drawing.GoodPointColor);
    const QString xTitle = QString::fromStdString(request.XTitle.value_or(""));
    const QString yTitle = QString::fromStdString(request.YTitle.value_or(""));
    const QSize xExtent = canvas.TextExtent(xTitle), yExtent = canvas.TextExtent(yTitle);
    const std::int32_t labelHeight = canvas.TextExtent(QStringLiteral("0")).height();
    const QString name = request.Cartesian ? QStringLiteral("Y") : QStringLiteral("R(x)");
    const std::int32_t nameWidth = canvas.TextExtent(name).width();

    // The labels of the x axis reach at most a label below the plot area, the
    // name of the y axis at most its width left of it: the margins grow only
    // by what the titles need beyond that.
    const std::int32_t below = LabelGap + labelHeight + TitleGap + xExtent.height() + EdgeGap;
    const std::int32_t beside = LabelGap + nameWidth + TitleGap + yExtent.height() + EdgeGap;
    const std::int32_t grownBelow = request.XTitle ? std::max(0, below - PlotMargin) : 0;
    const std::int32_t grownLeft = request.YTitle ? std::max(0, beside - PlotMargin) : 0;
    const TPictureSize whole = Size;
    const TPictureSize part{CheckedSub(whole.Width, grownLeft), CheckedSub(whole.Height, grownBelow)};
    if (part.Width <= 2 * PlotMargin || part.Height <= 2 * PlotMargin)
        throw Exception("The picture is too small for the axis titles");

    canvas.SetBrush(request.Drawing.BackgroundColor);
    canvas.SetPen(request.Drawing.BackgroundColor, 1);
    canvas.Rectangle(0, 0, whole.Width, whole.Height);
    canvas.SetFontPoints(points);
    TShiftedCanvas shifted(canvas, grownLeft, part);
    Size = part;
    try {
        PlotArea(evaluator, request, shifted);
    } catch (...) {
        Size = whole;
        throw;
    }
    Size = whole;

    canvas.SetFont(QString::fromLatin1(ProgramMonoFace), points, request.Drawing.GoodPointColor);
    canvas.SetBrush(request.Drawing.BackgroundColor);
    const std::int32_t areaLeft = grownLeft + PlotMargin, areaRight = CheckedSub(part.Width, PlotMargin) + grownLeft;
    const std::int32_t areaTop = PlotMargin;
    const std::int32_t areaBottom = CheckedSub(part.Height, PlotMargin);
    if (request.XTitle)
        canvas.TextOut(Centred(areaLeft, areaRight, xExtent.width(), whole.Width),
                       areaBottom + LabelGap + labelHeight + TitleGap, xTitle);
    if (request.YTitle)
        canvas.TextOutUpward(areaLeft - LabelGap - nameWidth - TitleGap - yExtent.height(),
                             std::max(top, Centred(areaTop, areaBottom, yExtent.width(), whole.Height)), yTitle);
    canvas.SetFontPoints(points);
}
