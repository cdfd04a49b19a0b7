// Zooming and panning to the ends of what a double can show, and the start
// after it: a step that would break the view is refused and the view kept,
// the settings file never keeps a range that cannot be plotted, and what the
// start finds wrong is said once, after the window is seen.
#include "WindowFixture.h"

#include "numeric/NumberText.h"

#include <QApplication>
#include <QTest>
#include <QWheelEvent>

#include <cmath>

namespace {

const QString ZoomInLimit = QStringLiteral("This is as far as Orvalis can zoom in.");
const QString ZoomOutLimit = QStringLiteral("This is as far as Orvalis can zoom out.");

class ViewLimits : public WindowFixture {
protected:
    // Ends the window (which writes its settings), then starts another over
    // the file, or over `file` when one is given.
    void Restart(const char* file = nullptr)
    {
        Window.reset();
        if (file)
            WriteSettingsFile(file);
        Dialogs.Messages.clear();
        Open();
    }
    double Number(const char* edit) const { return static_cast<double>(TextToNumber(Text(edit).toStdString())); }
    QPoint PixelOf(double x, double y) const
    {
        return {Window->Engine().WorldToPixelX(x), Window->Engine().WorldToPixelY(y)};
    }
    // Clicks at the world point until a box says something; how many clicks
    // were taken.
    int ClickUntilAMessage(double x, double y, int most)
    {
        for (int clicks = 0; clicks < most; ++clicks) {
            QTest::mouseClick(&Graph(), Qt::LeftButton, Qt::NoModifier, PixelOf(x, y));
            if (!Dialogs.Messages.empty())
                return clicks;
        }
        return most;
    }
    void Turn(int angle, QPoint at)
    {
        QWheelEvent wheel(QPointF(at), QPointF(Graph().mapToGlobal(at)), QPoint(), QPoint(0, angle), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&Graph(), &wheel);
    }
    // The view as it stands must still be a picture: distinct ends, a
    // picture drawn, and the start after it plots without a word.
    void ExpectUsableAcrossARestart(const std::string& where)
    {
        const QString low = Text("XlowEdit"), high = Text("XhighEdit");
        EXPECT_LT(Number("XlowEdit"), Number("XhighEdit")) << where;
        EXPECT_LT(View().YMin, View().YMax) << where;
        Restart();
        EXPECT_TRUE(Dialogs.Messages.empty()) << where;
        EXPECT_EQ(Text("XlowEdit"), low) << where;
        EXPECT_EQ(Text("XhighEdit"), high) << where;
        EXPECT_TRUE(Graph().HasPicture()) << where;
    }
};

TEST_F(ViewLimits, ClicksZoomInUntilRefusedAndTheViewStaysAPicture)
{
    const struct {
        const char* Low;
        const char* High;
        double X;
    } cases[] = {{"-10", "10", 0}, {"-10", "10", -14.05}, {"-10", "10", M_PI}, {"999990", "1000010", 1e6}};
    for (const auto& c : cases) {
        const std::string where = "at x = " + std::to_string(c.X);
        Open();
        SetXRange(c.Low, c.High);
        Click("PlotBtn");
        Dialogs.Messages.clear();
        // About the origin the span may shrink to the smallest normal double.
        const int clicks = ClickUntilAMessage(c.X, 0.5 * (View().YMin + View().YMax), 1200);
        ASSERT_LT(clicks, 1200) << where;
        EXPECT_GT(clicks, 17) << where;
        EXPECT_EQ(Dialogs.Messages[0].Text, ZoomInLimit) << where;
        const QString low = Text("XlowEdit");
        const double yMin = View().YMin;
        Dialogs.Messages.clear();
        QTest::mouseClick(&Graph(), Qt::LeftButton, Qt::NoModifier, PixelOf(c.X, yMin));
        EXPECT_EQ(Text("XlowEdit"), low) << where << ": a refused step leaves the view as it was";
        EXPECT_EQ(View().YMin, yMin) << where;
        EXPECT_EQ(Dialogs.Messages.size(), 1u) << where;
        ExpectUsableAcrossARestart(where);
        Window.reset();
    }
}

TEST_F(ViewLimits, TheWheelInAndOutComesBackAndZoomingOutStopsAndTurnsBack)
{
    Open();
    Dialogs.Messages.clear();
    // The pointer held still over x = 2.04.
    const QPoint pointer = PixelOf(2.04, 0.5);
    for (int notches = 0; notches < 60; ++notches)
        Turn(120, pointer);
    for (int notches = 0; notches < 60; ++notches)
        Turn(-120, pointer);
    Settle();
    EXPECT_TRUE(Dialogs.Messages.empty());
    EXPECT_NEAR(Number("XlowEdit"), -10, 1e-9);
    EXPECT_NEAR(Number("XhighEdit"), 10, 1e-9);
    ExpectUsableAcrossARestart("after the wheel");

    Click("ZoomOutBtn");
    Dialogs.Messages.clear();
    const int clicks = ClickUntilAMessage(3, 0, 2000);
    ASSERT_LT(clicks, 2000);
    EXPECT_EQ(Dialogs.Messages[0].Text, ZoomOutLimit);
    Dialogs.Messages.clear();
    Click("RightBtn");
    EXPECT_EQ(Dialogs.Messages.size(), 1u) << "a pan past the limit is refused too";
    Click("ZoomInBtn");
    Dialogs.Messages.clear();
    const double span = Number("XhighEdit") - Number("XlowEdit");
    EXPECT_EQ(ClickUntilAMessage(3, 0, 5), 5) << "zooming in again works";
    EXPECT_LT(Number("XhighEdit") - Number("XlowEdit"), span / 16);
    ExpectUsableAcrossARestart("after zooming out to the limit");
}

// A range or a formula that cannot be used, kept from an earlier run, says so
// once, after the window is seen; the texts stay in their boxes.
TEST_F(ViewLimits, WhatTheStartCannotUseIsSaidOnceAndNothingTypedIsLost)
{
    Open();
    SetText("XhighEdit", "1e400");
    Restart();
    EXPECT_TRUE(Dialogs.Messages.empty()) << "a range that cannot be plotted is never stored";
    EXPECT_EQ(Text("XhighEdit"), "10");

    Restart("[Main]\nXLow=-14.0503\nXhigh=-14.0503\n");
    ASSERT_EQ(Dialogs.Messages.size(), 1u);
    EXPECT_EQ(Dialogs.Messages[0].Text, "The x range is empty: the boxes \"from\" and \"to\" hold the same number, "
                                        "-14.0503.\nThe graph shows x from -10 to 10.");
    EXPECT_EQ(Text("XlowEdit"), "-14.0503");
    EXPECT_EQ(View().XMin, -10);
    EXPECT_TRUE(Graph().HasPicture());

    Restart("[Main]\nYFormula=1e309\n");
    ASSERT_EQ(Dialogs.Messages.size(), 1u);
    EXPECT_TRUE(Dialogs.Messages[0].Text.startsWith("The formula is not valid at character"));
    EXPECT_EQ(Text("YFormula"), "1e309");
    EXPECT_TRUE(Window->isVisible());
}

}  // namespace
