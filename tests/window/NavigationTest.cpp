// Navigation through the real controls: pan buttons, origin, click zoom
// with and without Ctrl, right drags, the position readout.
#include "WindowFixture.h"

#include <QTest>

namespace {

// On a Graph of 470 × 270 pixels the plot area is 400 × 200: with x from
// −10 to 10 and y from −1 to 1 a pixel is 0.05 by 0.01 world units, and the
// world point (2, 1) lies exactly on the pixel (275, 35).
constexpr int GraphWidth = 470, GraphHeight = 270;

class Navigation : public WindowFixture {
protected:
    void SetUp() override
    {
        Open();
        ResizeGraph(GraphWidth, GraphHeight);
        SetYRange(-1, 1);
        Dialogs.Messages.clear();
    }
};

TEST_F(Navigation, PanButtonsMoveByAFifthOfTheSpan)
{
    Click("RightBtn");
    EXPECT_EQ(Text("XlowEdit"), "-6");
    EXPECT_EQ(Text("XhighEdit"), "14");
    SetXRange("-10", "10");
    Click("LeftBtn");
    EXPECT_EQ(Text("XlowEdit"), "-14");
    EXPECT_EQ(Text("XhighEdit"), "6");
    Click("UpBtn");
    EXPECT_DOUBLE_EQ(View().YMin, -0.6);
    EXPECT_DOUBLE_EQ(View().YMax, 1.4);
    SetYRange(-1, 1);
    Click("DownBtn");
    EXPECT_DOUBLE_EQ(View().YMin, -1.4);
    EXPECT_DOUBLE_EQ(View().YMax, 0.6);
    EXPECT_FALSE(View().ResetView);
    EXPECT_TRUE(Dialogs.Messages.empty());
}

TEST_F(Navigation, PolarPansMoveTheWindowAndLeaveTheAngleRange)
{
    Choose("Polar1");
    const double xMin = View().XMin, xMax = View().XMax;
    Click("RightBtn");
    EXPECT_DOUBLE_EQ(View().XMax, xMax + (xMax - xMin) / 5);
    EXPECT_EQ(Text("XlowEdit"), "-10");
    EXPECT_EQ(Text("XhighEdit"), "10");
}

TEST_F(Navigation, ClickZoomAboutThePoint)
{
    const struct { bool zoomOutDown; Qt::KeyboardModifiers keys; const char* low; const char* high; double yMin, yMax; } cases[] = {
        {false, Qt::NoModifier, "-3", "7", 0.5, 1.5},
        {false, Qt::ControlModifier, "-18", "22", -1, 3},
        {true, Qt::NoModifier, "-18", "22", -1, 3},
        {true, Qt::ControlModifier, "-3", "7", 0.5, 1.5},
    };
    for (const auto& c : cases) {
        Click(c.zoomOutDown ? "ZoomOutBtn" : "ZoomInBtn");
        SetXRange("-10", "10");
        Click("PlotBtn");
        SetYRange(-1, 1);
        Click("PlotBtn");  // a plot of the window to click in
        SetYRange(-1, 1);
        TViewWindow& view = Window->Engine().View();
        view.ResetView = false;
        QTest::mouseClick(&Graph(), Qt::LeftButton, c.keys, QPoint(275, 35));
        Settle();
        EXPECT_EQ(Text("XlowEdit"), c.low) << c.zoomOutDown << " " << c.keys;
        EXPECT_EQ(Text("XhighEdit"), c.high);
        EXPECT_DOUBLE_EQ(View().YMin, c.yMin);
        EXPECT_DOUBLE_EQ(View().YMax, c.yMax);
    }
    EXPECT_TRUE(Control<QToolButton>("ZoomOutBtn")->isChecked());
    EXPECT_FALSE(Control<QToolButton>("ZoomInBtn")->isChecked()) << "the two toggles are one group";
}

TEST_F(Navigation, RightDragPansSoThePointStaysUnderThePointer)
{
    Click("PlotBtn");
    SetYRange(-1, 1);
    // 3 units right is 60 pixels, 1 unit up is 100 pixels.
    QTest::mousePress(&Graph(), Qt::RightButton, {}, QPoint(200, 150));
    QTest::mouseMove(&Graph(), QPoint(230, 120));
    QTest::mouseRelease(&Graph(), Qt::RightButton, {}, QPoint(260, 50));
    Settle();
    EXPECT_EQ(Text("XlowEdit"), "-13");
    EXPECT_EQ(Text("XhighEdit"), "7");
    EXPECT_DOUBLE_EQ(View().YMin, -2);
    EXPECT_DOUBLE_EQ(View().YMax, 0);

    // A press and release on one pixel replots the same window.
    const int plots = Window->PlotCount();
    QTest::mousePress(&Graph(), Qt::RightButton, {}, QPoint(100, 100));
    QTest::mouseRelease(&Graph(), Qt::RightButton, {}, QPoint(100, 100));
    Settle();
    EXPECT_EQ(Window->PlotCount(), plots + 1);
    EXPECT_EQ(Text("XlowEdit"), "-13");
    EXPECT_DOUBLE_EQ(View().YMax, 0);

    // Ended by the release of any button, also outside the picture.
    QTest::mousePress(&Graph(), Qt::RightButton, {}, QPoint(275, 135));
    QTest::mouseRelease(&Graph(), Qt::MiddleButton, {}, QPoint(275 + 400, 135));
    Settle();
    EXPECT_EQ(Text("XlowEdit"), "-33");
    // A release without a drag does nothing.
    QTest::mouseRelease(&Graph(), Qt::LeftButton, {}, QPoint(10, 10));
    Settle();
    EXPECT_EQ(Text("XlowEdit"), "-33");
}

TEST_F(Navigation, PolarDragMovesTheWindow)
{
    Choose("Polar1");
    const double xMin = View().XMin;
    const double unit = (View().XMax - View().XMin) / 400;
    QTest::mousePress(&Graph(), Qt::RightButton, {}, QPoint(100, 100));
    QTest::mouseRelease(&Graph(), Qt::RightButton, {}, QPoint(160, 100));
    Settle();
    EXPECT_NEAR(View().XMin, xMin - 60 * unit, 1e-12);
    EXPECT_EQ(Text("XlowEdit"), "-10");
}

TEST_F(Navigation, OriginRestoresTheRangeAndFits)
{
    QTest::mouseClick(&Graph(), Qt::LeftButton, {}, QPoint(275, 35));
    Settle();
    Click("OriginBtn");
    EXPECT_EQ(Text("XlowEdit"), "-10");
    EXPECT_EQ(Text("XhighEdit"), "10");
    EXPECT_NEAR(View().YMax, 200 * (20.0 / 400) / 2, 1e-15);
    // Polar: the angle range stays, the window fits the curve.
    Choose("Polar1");
    SetXRange("0", "3");
    Click("OriginBtn");
    EXPECT_EQ(Text("XlowEdit"), "0");
    EXPECT_EQ(Text("XhighEdit"), "3");
}

TEST_F(Navigation, RangeThatIsNoNumberEndsTheStepBeforeAnythingChanges)
{
    SetXRange("abc", "10");
    const TViewWindow before = View();
    Click("RightBtn");
    QTest::mouseClick(&Graph(), Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mousePress(&Graph(), Qt::RightButton, {}, QPoint(100, 100));
    QTest::mouseRelease(&Graph(), Qt::RightButton, {}, QPoint(150, 100));
    Settle();
    ASSERT_EQ(Dialogs.Messages.size(), 3u);
    for (const TShownMessage& message : Dialogs.Messages)
        EXPECT_EQ(message.Text, "'abc' is not a valid floating point value.");
    EXPECT_EQ(View().YMin, before.YMin);
    EXPECT_EQ(View().YMax, before.YMax);
    EXPECT_EQ(Text("XhighEdit"), "10");
    // Up does not read the range: the window moves and the plot fails.
    Click("UpBtn");
    EXPECT_GT(View().YMin, before.YMin);
    EXPECT_EQ(Dialogs.Messages.size(), 4u);
}

TEST_F(Navigation, PositionReadoutSnapsToTheAxes)
{
    Click("PlotBtn");
    SetYRange(-1, 1);
    // Column 235 is x = 0 and row 135 is y = 0: their neighbours lie on both
    // sides, so both show as 0.
    QTest::mouseMove(&Graph(), QPoint(235, 135));
    EXPECT_EQ(Control<QLabel>("mousePosition")->text(), "x =        0,  y =        0");
    QTest::mouseMove(&Graph(), QPoint(275, 35));
    EXPECT_EQ(Control<QLabel>("mousePosition")->text(), "x =        2,  y =        1");
    QTest::mouseMove(&Graph(), QPoint(236, 134));
    EXPECT_EQ(Control<QLabel>("mousePosition")->text(), "x =     0.05,  y =     0.01");
}

}  // namespace
