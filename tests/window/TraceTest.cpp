// The trace through the real controls: the Curve menu, the pointer and the
// keys, the line that reads the traced point, and the window as it was
// while the trace is off.
#include "WindowFixture.h"

#include "numeric/NumberText.h"
#include "plot/core/DrawingSettings.h"

#include <QTest>

#include <cmath>

namespace {

class Trace : public WindowFixture {
protected:
    QLabel* Line() const { return Control<QLabel>("curveReadout"); }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(&Graph(), static_cast<Qt::Key>(key), modifiers);
        Settle();
    }
    double TracedX() const { return Graph().Traced()->X; }
};

TEST_F(Trace, OffLeavesTheWindowAsItWasAndOnReadsTheCurveAfresh)
{
    Open();
    EXPECT_FALSE(Line()->isVisible());
    EXPECT_EQ(Graph().focusPolicy(), Qt::TabFocus) << "a click takes no focus while the trace is off";

    Choose("Trace1");
    ASSERT_TRUE(Line()->isVisible());
    EXPECT_EQ(Graph().focusPolicy(), Qt::StrongFocus);
    // The pointer's x, evaluated afresh rather than read off a sample.
    const QPoint at(Window->Engine().WorldToPixelX(1.234), 100);
    QTest::mouseMove(&Graph(), at);
    Settle();
    double wx, wy;
    Window->Engine().PixelToWorld(at.x(), at.y(), wx, wy);
    ASSERT_TRUE(Graph().Traced());
    EXPECT_EQ(TracedX(), wx);
    EXPECT_EQ(Graph().Traced()->Value, std::sin(wx));
    EXPECT_TRUE(Line()->text().startsWith("curve: x = " + QString::fromStdString(FormatGeneral(wx, 6))))
        << Line()->text().toStdString();

    // The arrows walk a pixel column (Shift: ten), Home and End go to the ends.
    Graph().setFocus();
    const double column = (View().XMax - View().XMin) / (Graph().width() - 70);
    Key(Qt::Key_Right);
    EXPECT_DOUBLE_EQ(TracedX(), wx + column);
    Key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_DOUBLE_EQ(TracedX(), wx - 9 * column);
    Key(Qt::Key_Home);
    EXPECT_EQ(TracedX(), -10);
    EXPECT_EQ(Line()->text(), "curve: x = -10,  y = " + QString::fromStdString(FormatGeneral(std::sin(-10.0), 6)));
    Key(Qt::Key_End);
    EXPECT_EQ(TracedX(), 10);

    // T with the picture focused turns it off again: the window as before.
    Key(Qt::Key_T);
    EXPECT_FALSE(Control<QAction>("Trace1")->isChecked());
    EXPECT_FALSE(Line()->isVisible());
    EXPECT_FALSE(Graph().Traced());
}

// F3 and Shift+F3 walk the points of interest: roots where the curve crosses
// 0, the extrema between them, each once, in order.
TEST_F(Trace, F3WalksThePointsOfInterest)
{
    Open();
    Choose("Trace1");
    Graph().setFocus();
    Key(Qt::Key_Home);
    std::vector<double> visited;
    for (int step = 0; step < 13; ++step) {
        Key(Qt::Key_F3);
        visited.push_back(TracedX());
    }
    ASSERT_EQ(visited.size(), 13u);
    for (int k = 0; k < 13; ++k)
        EXPECT_NEAR(visited[k], (-6 + k) * M_PI / 2, 1e-8) << "point " << k;
    Key(Qt::Key_F3);
    EXPECT_EQ(TracedX(), visited.back()) << "nothing after the last point";
    Key(Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(TracedX(), visited[11]);
}

TEST_F(Trace, TheViewFollowsAMarkerThatLeavesItAndUndefinedIsSaid)
{
    WriteSettingsFile("[Main]\nYFormula=sqrt(x)\nTrace=1\n");
    Open();
    ASSERT_TRUE(Control<QAction>("Trace1")->isChecked()) << "the trace is kept in the settings";
    Graph().setFocus();
    Key(Qt::Key_Home);
    EXPECT_EQ(Line()->text(), "curve: x = -10,  y = undefined");
    Key(Qt::Key_End);
    for (int step = 0; step < 10; ++step)
        Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_GT(TracedX(), 10);
    EXPECT_GE(View().XMax, TracedX()) << "the window moved along";
    EXPECT_GT(Text("XhighEdit").toDouble(), 10);
}

TEST_F(Trace, PolarTracesThePointNearestThePointer)
{
    WriteSettingsFile("[Main]\nYFormula=2\nCartesian=0\nXLow=0\nXhigh=6.3\n");
    Open();
    Choose("Trace1");
    // The circle of radius 2: the pointer at (0, 1.5) is nearest its top.
    const QPoint at(Window->Engine().WorldToPixelX(0), Window->Engine().WorldToPixelY(1.5));
    QTest::mouseMove(&Graph(), at);
    Settle();
    double wx, wy;
    Window->Engine().PixelToWorld(at.x(), at.y(), wx, wy);
    ASSERT_TRUE(Graph().Traced());
    EXPECT_NEAR(TracedX(), std::atan2(wy, wx), 1e-7) << "refined between the samples, not a sample's angle";
    EXPECT_EQ(Graph().Traced()->Value, 2);
    EXPECT_TRUE(Line()->text().startsWith("curve: angle = 1.5")) << Line()->text().toStdString();
}

}  // namespace

namespace {

// Every drawing setting whose control is a Curve menu item: the item is
// there under its caption, a click changes the setting and the picture, and
// the setting survives a restart.
TEST_F(Trace, EveryCurveMenuSettingIsBoundAndKept)
{
    WriteSettingsFile("[Main]\nYFormula=exp(x)\nXLow=0\nXhigh=10\n");
    Open();
    int rows = 0;
    for (const TDrawingSetting& row : DrawingSettingsTable) {
        if (row.Place != TControlPlace::CurveMenu)
            continue;
        ++rows;
        QAction* item = Control<QAction>(row.Widget);
        ASSERT_NE(item, nullptr) << row.Key;
        EXPECT_TRUE(item->isCheckable()) << row.Key;
        EXPECT_EQ(item->text().toStdString(), row.Caption) << row.Key;
        const int plots = Window->PlotCount();
        item->trigger();
        Settle();
        EXPECT_TRUE(Window->Drawing().*std::get<bool TDrawingSettings::*>(row.Field)) << row.Key;
        EXPECT_EQ(Window->PlotCount(), plots + 1) << row.Key;
    }
    EXPECT_GE(rows, 2);
    EXPECT_GT(View().YMax, std::exp(10.0)) << "fitted to the curve";
    Window.reset();
    Open();
    for (const TDrawingSetting& row : DrawingSettingsTable)
        if (row.Place == TControlPlace::CurveMenu) {
            EXPECT_TRUE(Control<QAction>(row.Widget)->isChecked()) << row.Key;
        }
}

}  // namespace

namespace {

// The picture says in words what it shows, after every plot.
TEST_F(Trace, ThePictureDescribesWhatItShows)
{
    Open();
    const auto described = [&] { return Graph().accessibleDescription().toStdString(); };
    const auto number = [](double v) { return FormatGeneral(v, 4); };
    EXPECT_EQ(described(), "x from -10 to 10, y from " + number(View().YMin) + " to " + number(View().YMax) +
                               "; 7 roots, 3 maxima, 3 minima; defined everywhere");
    SetText("YFormula", "sqrt(x)");
    Click("PlotBtn");
    EXPECT_NE(described().find("; undefined in places"), std::string::npos) << described();
    SetText("YFormula", "exp(x)");
    Choose("Polar1");
    EXPECT_EQ(described().rfind("angle from -10 to 10, x from ", 0), 0u) << described();
    EXPECT_NE(described().find("; no roots or extrema; defined everywhere"), std::string::npos) << described();
}

}  // namespace
