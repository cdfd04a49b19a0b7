// Cartesian pictures at the pixels that matter: axes, ticks and labels of the
// start view, undefined runs, cuts at the edges, line width, the faults.
#include "PlotFixture.h"

#include "numeric/NumberText.h"
#include "plot/ProgramFaces.h"

#include <QFontInfo>

namespace {

constexpr TColor Background = 0xCAFFFF, Axis = 0x808080, Good = 0x000000, Bad = 0x0000FF;
// Columns of the ticks −10, −8, …, 10 (0 left out) and rows of −4, −2, 2, 4
// on 507 × 266 pixels with x from −10 to 10 and the fitted y extent.
constexpr int TickColumns[] = {35, 79, 122, 166, 210, 297, 341, 385, 428, 472};
constexpr int TickRows[] = {220, 177, 89, 46};
constexpr int AxisRow = 133, AxisColumn = 254;

using CartesianPicture = PlotFixture;

TEST_F(CartesianPicture, AxesTicksAndLabelsOfTheStartView)
{
    // 100 lies above the window, so only frame and axes are drawn.
    const QImage picture = Plot("100");
    ASSERT_EQ(picture.size(), QSize(507, 266));
    EXPECT_NEAR(Engine.View().YMax, 196 * 20.0 / 437 / 2, 1e-15);
    EXPECT_EQ(Engine.View().YMin, -Engine.View().YMax);

    EXPECT_EQ(Count(picture, 35, AxisRow, 472, AxisRow, Axis), 438) << "horizontal axis";
    EXPECT_EQ(Count(picture, AxisColumn, 35, AxisColumn, 231, Axis), 197) << "vertical axis";
    for (int column : TickColumns) {
        EXPECT_TRUE(Is(picture, column, AxisRow - 3, Axis) && Is(picture, column, AxisRow + 3, Axis)) << column;
        EXPECT_GT(Marked(picture, column, AxisRow + 5, column + 12, AxisRow + 17), 0) << "label at " << column;
    }
    EXPECT_TRUE(Is(picture, 100, AxisRow - 3, Background)) << "a tick between the ticks";
    for (int row : TickRows) {
        EXPECT_TRUE(Is(picture, AxisColumn - 3, row, Axis) && Is(picture, AxisColumn + 3, row, Axis)) << row;
        EXPECT_GT(Marked(picture, AxisColumn + 5, row, AxisColumn + 15, row + 10), 0) << "label at " << row;
    }
    EXPECT_TRUE(Is(picture, AxisColumn - 3, 200, Background));
    // No tick and no label for 0 on either axis.
    EXPECT_EQ(Marked(picture, AxisColumn + 1, AxisRow + 5, AxisColumn + 8, AxisRow + 17), 0);
    EXPECT_EQ(Marked(picture, AxisColumn + 5, AxisRow + 1, AxisColumn + 20, AxisRow + 4), 0);
    // Arrowheads at both ends of both axes.
    EXPECT_TRUE(Is(picture, 40, AxisRow - 5, Axis) && Is(picture, 467, AxisRow + 5, Axis));
    EXPECT_TRUE(Is(picture, AxisColumn - 5, 40, Axis) && Is(picture, AxisColumn + 5, 40, Axis));
    // The label of −4 covers the lower right arrowhead's end; the left one shows.
    EXPECT_TRUE(Is(picture, AxisColumn - 5, 226, Axis));
    // Boundary, axis names, title.
    EXPECT_TRUE(Is(picture, 100, 35, Axis) && Is(picture, 100, 231, Axis) && Is(picture, 35, 60, Axis) &&
                Is(picture, 472, 60, Axis));
    EXPECT_TRUE(Is(picture, 100, 34, Background) && Is(picture, 473, 60, Background));
    EXPECT_GT(Marked(picture, 475, AxisRow - 6, 490, AxisRow + 6), 0) << "X";
    EXPECT_GT(Marked(picture, AxisColumn - 15, 35, AxisColumn - 6, 46), 0) << "Y";
    EXPECT_GT(Marked(picture, 200, 5, 300, 30), 0) << "title";
}

TEST_F(CartesianPicture, TitleIsCentredInTheTopMargin)
{
    const QImage picture = Plot("100");
    QRect title;
    for (int y = 0; y < 35; ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (!Is(picture, x, y, Background))
                title |= QRect(x, y, 1, 1);
    EXPECT_NEAR(title.center().x(), 253, 6);
    EXPECT_NEAR(title.center().y(), 17, 4);
}

TEST_F(CartesianPicture, WindowEntirelyAboveTheHorizontalAxis)
{
    Engine.View().YMin = 1.3;
    Engine.View().YMax = 10.3;
    const QImage picture = Plot("100", true);
    EXPECT_EQ(Count(picture, 100, 36, 100, 230, Axis), 0) << "no horizontal axis";
    for (int row : {216, 172, 129, 85, 42})
        EXPECT_TRUE(Is(picture, AxisColumn - 3, row, Axis)) << row;
    // Only five ticks between the arrowheads.
    EXPECT_EQ(Count(picture, AxisColumn - 3, 41, AxisColumn - 3, 225, Axis), 5);
}

TEST_F(CartesianPicture, TicksAndBoundaryCanBeLeftOut)
{
    Request.Drawing.Ticks = false;
    Request.Drawing.Boundary = false;
    const QImage picture = Plot("100");
    EXPECT_TRUE(Is(picture, 122, AxisRow - 3, Background));
    EXPECT_TRUE(Is(picture, AxisColumn - 3, 220, Background));
    EXPECT_EQ(Marked(picture, 41, AxisRow + 2, 250, AxisRow + 20), 0) << "no labels";
    EXPECT_EQ(Count(picture, 35, AxisRow, 472, AxisRow, Axis), 438) << "the axis stays";
    EXPECT_TRUE(Is(picture, 100, 35, Background) && Is(picture, 35, 60, Background)) << "no boundary";
}

TEST_F(CartesianPicture, UndefinedRunAlongTheAxisJoinedInTheGoodColour)
{
    Request.Formula = "sqrt(x)";
    const QImage picture = Plot("sqrt(x)");
    // Samples 0 to 218 lie below 0: the bad run covers the axis from −10 to
    // the last of them, where the joining segment starts.
    EXPECT_EQ(Count(picture, 35, AxisRow, 252, AxisRow, Bad), 218);
    EXPECT_EQ(Count(picture, 253, AxisRow - 4, 256, AxisRow, Bad), 0);
    EXPECT_GT(Count(picture, 253, AxisRow - 4, 256, AxisRow - 1, Good), 0) << "joining segment";
    // sqrt(10) ≈ 3.162 lies on row 64.
    EXPECT_TRUE(Is(picture, 472, 64, Good));
}

TEST_F(CartesianPicture, UndefinedEverywhereIsOneBadLineAlongTheAxis)
{
    Request.Formula = "ln(-1)";
    const QImage picture = Plot("ln(-1)");
    EXPECT_EQ(Count(picture, 35, AxisRow, 472, AxisRow, Bad), 438);
    EXPECT_EQ(Count(picture, 0, 0, 506, 265, Good) - Count(FrameAndAxesOnly(), 0, 0, 506, 265, Good), 0)
        << "nothing in the good colour but the texts";
}

TEST_F(CartesianPicture, CurveIsCutExactlyAtTheTopAndBottomEdges)
{
    Request.Formula = "x^3+3*x^2-2";
    const QImage picture = Plot(Request.Formula);
    const QRect curve = Difference(picture, FrameAndAxesOnly());
    EXPECT_EQ(curve.top(), 35);
    EXPECT_EQ(curve.bottom(), 231);
    EXPECT_GT(Count(picture, 36, 35, 471, 35, Good), 0) << "the curve meets the top edge";
    EXPECT_GT(Count(picture, 36, 231, 471, 231, Good), 0) << "and the bottom edge";
}

TEST_F(CartesianPicture, WideCurveOverThinFrame)
{
    Request.Drawing.LineWidth = 3;
    Request.Formula = "1";
    const QImage picture = Plot("1");
    // y = 1 lies on row 111.
    for (int row : {110, 111, 112})
        EXPECT_TRUE(Is(picture, 100, row, Good)) << row;
    EXPECT_FALSE(Is(picture, 100, 109, Good));
    EXPECT_FALSE(Is(picture, 100, 113, Good));
    EXPECT_TRUE(Is(picture, 100, AxisRow - 1, Background) && Is(picture, 100, AxisRow + 1, Background));
    EXPECT_TRUE(Is(picture, 100, 36, Background) && Is(picture, 36, 60, Background));
}

TEST_F(CartesianPicture, ReversedRangeMirrorsTheWindowAndDrawsOnlyFrameAndTitle)
{
    Request.XlowText = "10";
    Request.XhighText = "-10";
    const QImage picture = Plot("sin(x)");
    EXPECT_GT(Engine.View().YMin, 0);
    EXPECT_LT(Engine.View().YMax, 0);
    EXPECT_EQ(Marked(picture, 36, 36, 471, 230), 0);
    EXPECT_GT(Marked(picture, 200, 5, 300, 30), 0);
}

TEST_F(CartesianPicture, WiderThanTwoThousandColumnsKeepsTwoThousandIntervals)
{
    Engine.SetPictureSize({2400, 300});
    Request.Formula = "x";
    const QImage picture = Plot("x");
    EXPECT_EQ(Engine.Samples().SampleCount, 2000);
    EXPECT_EQ(picture.size(), QSize(2400, 300));
}

TEST_F(CartesianPicture, RangeErrorsEndThePlotBeforeAnythingChanges)
{
    Engine.View() = {1, 2, 3, 4, true};
    Evaluator.SetFormula("x");
    Evaluator.Compile();
    Request.XlowText = "abc";
    try {
        Engine.Plot(Evaluator, Request);
        FAIL() << "no error";
    } catch (const EConvertError& error) {
        EXPECT_STREQ(error.what(), "'abc' is not a valid floating point value");
    }
    Request.XlowText = "-10";
    Request.XhighText = "1e400";
    EXPECT_THROW(Engine.Plot(Evaluator, Request), EOverflow);
    EXPECT_EQ(Engine.View().XMin, 1);
    EXPECT_EQ(Engine.View().YMax, 4);
    EXPECT_TRUE(Engine.View().ResetView);
    EXPECT_EQ(FpuStatusWord() & StatusFaults, 0);
}

TEST_F(CartesianPicture, EmptyRangeFaultsAtTheFirstDivisionByTheZeroExtent)
{
    Request.XlowText = Request.XhighText = "1";
    Evaluator.SetFormula("x");
    Evaluator.Compile();
    Engine.View().ResetView = true;
    // The fitted y extent is empty too, and the horizontal axis's row, 0 / 0,
    // is the first division by a zero extent.
    EXPECT_THROW(Engine.Plot(Evaluator, Request), EInvalidOp);
    // The window was replaced before the fault.
    EXPECT_EQ(Engine.View().XMin, 1);
    EXPECT_EQ(Engine.View().XMax, 1);
    EXPECT_EQ(Engine.View().YMin, 0);
    EXPECT_EQ(Engine.View().YMax, 0);
    EXPECT_FALSE(Engine.View().ResetView);
    // With a kept y extent, the horizontal axis's tick indices divide −1 by
    // the zero step first.
    Engine.View().YMin = -1;
    Engine.View().YMax = 1;
    Request.XlowText = Request.XhighText = "-1";
    Engine.View().XMin = -1;
    EXPECT_THROW(Engine.Plot(Evaluator, Request), EZeroDivide);
    EXPECT_EQ(FpuStatusWord() & StatusFaults, 0);
}

TEST_F(CartesianPicture, LongTitleStaysCentredAndIsCutAtBothSides)
{
    // x+x+…+x, a million characters.
    std::string formula(1000001, 'x');
    for (std::size_t i = 1; i < formula.size(); i += 2)
        formula[i] = '+';
    Request.Formula = formula;
    const QImage picture = Plot("x");
    EXPECT_GT(Marked(picture, 0, 5, 15, 30), 0);
    EXPECT_GT(Marked(picture, 491, 5, 506, 30), 0);
}

// Each name the pictures ask for is the program's own face, whatever other
// faces the machine has, and the labels' face is fixed-pitch.
TEST(PlotFont, TheProgramsOwnFaces)
{
    ASSERT_FALSE(ProgramFacesFolder().isEmpty()) << "the faces' package is installed";
    const struct {
        const char* Face;
        bool FixedPitch;
    } faces[] = {{ProgramSansFace, false}, {ProgramMonoFace, true}};
    for (const auto& face : faces) {
        QFont font(QString::fromLatin1(face.Face));
        font.setPixelSize(16);
        const QFontInfo info(font);
        EXPECT_EQ(info.family(), face.Face);
        EXPECT_EQ(info.fixedPitch(), face.FixedPitch) << face.Face;
    }
}

}  // namespace

namespace {

TEST_F(CartesianPicture, SharpAtTwiceTheDevicePixels)
{
    Engine.SetDevicePixelRatio(2);
    const QImage picture = Plot("100");
    EXPECT_EQ(picture.size(), QSize(1014, 532));
    EXPECT_EQ(picture.devicePixelRatio(), 2);
    // The axis on row 133 is two device pixels thick, on device rows 266 and 267.
    for (int x : {100, 400}) {
        EXPECT_TRUE(Is(picture, x, 266, Axis) && Is(picture, x, 267, Axis)) << x;
        EXPECT_TRUE(Is(picture, x, 265, Background) && Is(picture, x, 268, Background)) << x;
    }
    EXPECT_TRUE(Is(picture, 2 * 122, 2 * 130, Axis)) << "the tick at −6";

    // Labels read as at ratio 1: the minus sign stands as close to its digit,
    // in device pixels twice the gap at ratio 1, not apart from it.
    const auto minusGap = [](const QString& label, qreal ratio) {
        TPlotCanvas canvas({60, 20}, ratio);
        canvas.SetBrush(Background);
        canvas.SetPenColor(Background);
        canvas.Rectangle(0, 0, 60, 20);
        canvas.SetFont(QString::fromLatin1(ProgramMonoFace), 8, Good);
        canvas.TextOut(2, 2, label);
        const QImage image = canvas.Finish();
        std::vector<int> edges;  // where ink starts or ends, column by column
        bool before = false;
        for (int x = 0; x < image.width(); ++x) {
            bool inked = false;
            for (int y = 0; y < image.height(); ++y)
                inked = inked || !Is(image, x, y, Background);
            if (inked != before)
                edges.push_back(x);
            before = inked;
        }
        return edges.size() >= 3 ? edges[2] - edges[1] : -1;
    };
    for (const char* label : {"-4", "-10", "-2.5"}) {
        const int plain = minusGap(label, 1);
        EXPECT_GT(plain, 0) << label;
        EXPECT_EQ(minusGap(label, 2), 2 * plain) << label;
    }
    // A width measured at one ratio is not taken for the other from the
    // texts both share: a label measured sharp first is as wide as any label
    // of its length at ratio 1.
    TTextCache texts;
    const auto width = [&texts](const QString& label, qreal ratio) {
        TPlotCanvas canvas({60, 20}, ratio, &texts);
        canvas.SetFont(QString::fromLatin1(ProgramMonoFace), 8, Good);
        return canvas.TextExtent(label).width();
    };
    width(QStringLiteral("-9.87654321"), 2);
    EXPECT_EQ(width(QStringLiteral("-9.87654321"), 1), width(QStringLiteral("-1.23456789"), 1));
}

}  // namespace
