// Polar pictures: the fitted window, circles touching the plot area, the
// undefined parts joined to the origin, unreducible angles.
#include "PlotFixture.h"

#include <cmath>

namespace {

constexpr TColor Good = 0x000000;

class PolarPicture : public PlotFixture {
protected:
    void SetUp() override
    {
        Request.Cartesian = false;
        Request.TitleCaption = "R =";
        Request.XlowText = "0";
        Request.XhighText = "60";
    }

    // The pixels of the curve alone: the picture against frame and axes of
    // the same view.
    QRect Curve(const std::string& formula)
    {
        Request.Formula = formula;
        const QImage picture = Plot(formula);
        return Difference(picture, FrameAndAxesOnly());
    }
};

TEST_F(PolarPicture, UnitCircleTouchesTopAndBottomOfAWidePlotArea)
{
    const QRect curve = Curve("1");
    const TViewWindow& view = Engine.View();
    EXPECT_NEAR(view.XMax, 437.0 / 196, 1e-12);
    EXPECT_EQ(view.XMin, -view.XMax);
    EXPECT_NEAR(view.YMax, 1.0, 1e-15);
    EXPECT_EQ(curve.top(), 35);
    EXPECT_EQ(curve.bottom(), 231);
    EXPECT_NEAR(curve.center().x(), 254, 1);
    EXPECT_NEAR(curve.width(), 197, 2);
}

TEST_F(PolarPicture, UnitCircleTouchesLeftAndRightOfATallPlotArea)
{
    Engine.SetPictureSize({300, 600});
    const QRect curve = Curve("1");
    EXPECT_EQ(Engine.View().XMax, 1.0);
    EXPECT_NEAR(Engine.View().YMax, 530.0 / 230, 1e-12);
    EXPECT_EQ(curve.left(), 35);
    EXPECT_EQ(curve.right(), 265);
}

TEST_F(PolarPicture, NegativeRadiusDrawsTheSameCircle)
{
    const QRect positive = Curve("1");
    EXPECT_EQ(Curve("-1"), positive);
}

TEST_F(PolarPicture, UndefinedEverywhereDrawsOnlyFrameAndAxes)
{
    const QRect curve = Curve("sqrt(-1-x)");
    EXPECT_TRUE(curve.isEmpty());
    EXPECT_NEAR(Engine.View().XMax, 437.0 / 196, 1e-12) << "fitted as for radius 1";
}

TEST_F(PolarPicture, UndefinedPartIsJoinedToTheOrigin)
{
    // Defined for angles up to 30 only; the last defined point is joined to
    // the origin and nothing is drawn beyond it.
    Request.Formula = "1+0*sqrt(30-x)";
    const QImage picture = Plot(Request.Formula);
    double x, y;
    Engine.PixelToWorld(254, 133, x, y);
    EXPECT_TRUE(Is(picture, 254, 133, Good)) << "the origin";
    const double lastAngle = 30.0 - std::fmod(30.0, 0.03);
    const int column = Engine.WorldToPixelX(0.5 * std::cos(lastAngle));
    const int row = Engine.WorldToPixelY(0.5 * std::sin(lastAngle));
    EXPECT_GT(Count(picture, column - 1, row - 1, column + 1, row + 1, Good), 0) << "half way to the origin";
}

TEST_F(PolarPicture, AnglesFromTwoToTheSixtyThreeLieAtTheOrigin)
{
    Request.XhighText = "1e19";
    const QRect curve = Curve("1");
    EXPECT_EQ(curve.top(), 35);
    // From sample 1845 on the points lie at the origin: the segment from the
    // last reducible point runs into it.
    const QImage picture = Plot("1");
    EXPECT_TRUE(Is(picture, 254, 133, Good));
}

TEST_F(PolarPicture, KeptWindowIsNotRefitted)
{
    Plot("1");
    Engine.View() = {-0.5, 0.5, -0.25, 0.25, false};
    Request.Formula = "1";
    const QImage picture = Plot("1", true);
    EXPECT_EQ(Engine.View().XMax, 0.5);
    EXPECT_EQ(Marked(picture, 36, 36, 471, 230) - Marked(FrameAndAxesOnly(), 36, 36, 471, 230), 0)
        << "the unit circle lies outside the zoomed window";
}

TEST_F(PolarPicture, EmptyAngleRangeIsNoError)
{
    Request.XlowText = Request.XhighText = "1";
    const QRect curve = Curve("2");
    EXPECT_LE(curve.width(), 1);
}

}  // namespace
