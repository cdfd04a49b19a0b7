// Beyond the menus and buttons: the wheel zooms about the pointer, and on a
// screen of twice the device pixels the picture is held at that resolution.
#include "WindowFixture.h"

#include <QApplication>
#include <QFile>
#include <QTest>
#include <QWheelEvent>

namespace {

class WheelAndScale : public WindowFixture {
protected:
    void Turn(int angle, QPoint at)
    {
        QWheelEvent wheel(QPointF(at), QPointF(Graph().mapToGlobal(at)), QPoint(), QPoint(0, angle), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&Graph(), &wheel);
        Settle();
    }
};

TEST_F(WheelAndScale, WheelZoomsAboutThePointerWhichStaysUnderIt)
{
    Open();
    ResizeGraph(470, 270);
    SetYRange(-1, 1);
    Click("PlotBtn");
    SetYRange(-1, 1);
    const QPoint pointer(275, 35);  // the world point (2, 1)
    Turn(120, pointer);
    EXPECT_EQ(Text("XlowEdit"), "-7.6");
    EXPECT_EQ(Text("XhighEdit"), "8.4");
    EXPECT_DOUBLE_EQ(View().YMin, -0.6);
    EXPECT_DOUBLE_EQ(View().YMax, 1);
    EXPECT_NEAR(Window->Engine().WorldToPixelX(2), pointer.x(), 1);
    EXPECT_NEAR(Window->Engine().WorldToPixelY(1), pointer.y(), 1);

    // Half notches add up; backward widens by the same factor.
    Turn(-60, pointer);
    EXPECT_EQ(Text("XlowEdit"), "-7.6");
    Turn(-60, pointer);
    EXPECT_EQ(Text("XlowEdit"), "-10");
    EXPECT_EQ(Text("XhighEdit"), "10");
    EXPECT_DOUBLE_EQ(View().YMin, -1);
}

TEST_F(WheelAndScale, PolarWheelMovesTheWindowNotTheAngleRange)
{
    Open();
    Choose("Polar1");
    const double span = View().XMax - View().XMin;
    const QPoint centre(Graph().width() / 2, Graph().height() / 2);
    Turn(240, centre);
    EXPECT_NEAR(View().XMax - View().XMin, span / 1.5625, 1e-12);
    EXPECT_EQ(Text("XlowEdit"), "-10");
    EXPECT_FALSE(View().ResetView);
}

// Runs in the suite started with QT_SCALE_FACTOR=2.
TEST_F(WheelAndScale, PictureHeldAtTheScreensDevicePixels)
{
    Open();
    if (Graph().devicePixelRatioF() < 2)
        GTEST_SKIP() << "needs a device pixel ratio of 2 (QT_SCALE_FACTOR=2)";
    ASSERT_EQ(Graph().size(), QSize(507, 266));
    const QImage picture = Graph().Picture();
    EXPECT_EQ(picture.size(), QSize(1014, 532));
    const QRgb axis = qRgb(0x80, 0x80, 0x80);
    EXPECT_EQ(picture.pixel(200, 266), axis);
    EXPECT_EQ(picture.pixel(200, 267), axis);
    EXPECT_NE(picture.pixel(200, 265), axis);
    EXPECT_NE(picture.pixel(200, 268), axis);
    // Exported as held.
    Dialogs.SaveAnswer = Folder.filePath("sharp.bmp");
    Choose("Savetobitmapfile1");
    EXPECT_EQ(QImage(Folder.filePath("sharp.bmp")).size(), QSize(1014, 532));
    // The buttons' pictures come at the same resolution.
    const QIcon icon = Control<QToolButton>("UpBtn")->icon();
    EXPECT_EQ(icon.pixmap(QSize(22, 22), 2.0).size(), QSize(44, 44));
}

}  // namespace
