// The window without a mouse: the Tab order through every control, the
// picture's keys with the trace off and on, and the traced point told to
// assistive technology no more often than a screen reader can say it.
#include "WindowFixture.h"

#include <QAccessible>
#include <QElapsedTimer>
#include <QTest>

#include <cmath>
#include <vector>

namespace {

class Keyboard : public WindowFixture {
protected:
    // What the picture tells assistive technology, with when it was told.
    void Listen()
    {
        Clock.start();
        QObject::connect(&Graph(), &TPlotView::Announced, [this](const QString& text) {
            Heard.push_back({text, Clock.elapsed()});
        });
    }
    static QWidget* Focused() { return QApplication::focusWidget(); }
    static void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(Focused(), static_cast<Qt::Key>(key), modifiers);
        Settle();
    }
    struct TToldPoint {
        QString Text;
        qint64 At;
    };
    std::vector<TToldPoint> Heard;
    QElapsedTimer Clock;
};

TEST_F(Keyboard, KeysAloneWalkFromTheStartToATracedRoot)
{
    Open();
    Listen();
    ASSERT_EQ(Focused(), Control<QWidget>("YFormula"))
        << "the formula is typed first, not " << (Focused() ? Focused()->objectName().toStdString() : "nothing");
    const int plots = Window->PlotCount();
    Key(Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(Focused(), "cos(x)");

    // Once round the window (Zedit is disabled while z is not used; of the
    // two magnifiers, which the arrows choose between, Tab visits one).
    const char* order[] = {"XlowEdit", "XhighEdit", "PlotBtn", "Graph",   "TrackBar1",  "UpBtn",   "LeftBtn",
                           "OriginBtn", "RightBtn", "DownBtn", "ZoomOutBtn", "YFormula", "XlowEdit", "XhighEdit",
                           "PlotBtn"};
    for (const char* next : order) {
        Key(Qt::Key_Tab);
        EXPECT_EQ(Focused(), Control<QWidget>(next)) << next;
    }
    Key(Qt::Key_Space);
    EXPECT_EQ(Window->PlotCount(), plots + 1);
    EXPECT_TRUE(Graph().accessibleName().startsWith("Graph of y = cos(x)"));
    Key(Qt::Key_Tab);
    ASSERT_EQ(Focused(), &Graph());

    // The trace off: the arrows pan as the buttons do, + and - zoom about
    // the centre as a click does, Home goes back to the origin.
    Key(Qt::Key_Right);
    EXPECT_EQ(Text("XlowEdit"), "-6");
    EXPECT_EQ(Text("XhighEdit"), "14");
    const double yMin = View().YMin, yMax = View().YMax;
    Key(Qt::Key_Up);
    EXPECT_DOUBLE_EQ(View().YMin, yMin + (yMax - yMin) / 5);
    Key(Qt::Key_Plus);
    EXPECT_EQ(Text("XlowEdit"), "-1");
    EXPECT_EQ(Text("XhighEdit"), "9");
    Key(Qt::Key_Minus);
    EXPECT_EQ(Text("XlowEdit"), "-6");
    EXPECT_EQ(Text("XhighEdit"), "14");
    Key(Qt::Key_Home);
    EXPECT_EQ(Text("XlowEdit"), "-10");
    EXPECT_EQ(Text("XhighEdit"), "10");
    EXPECT_TRUE(Heard.empty()) << "nothing is traced, nothing is told";

    // The trace on: F3 goes from the maximum at 0 to the root at pi/2, which
    // is said; Ctrl with an arrow pans and leaves the marker where it stands.
    Key(Qt::Key_T, Qt::ControlModifier);
    ASSERT_TRUE(Graph().Traced());
    Key(Qt::Key_F3);
    EXPECT_NEAR(Graph().Traced()->X, M_PI / 2, 1e-8);
    EXPECT_TRUE(Text("XlowEdit") == "-10");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Heard.empty() && Heard.back().Text == "root at x 1.5708"; }))
        << (Heard.empty() ? "nothing told" : Heard.back().Text.toStdString());
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    // Without an announcement event the point is the name of a notification
    // that appears, which a screen reader speaks.
    const auto* notice = Graph().findChild<QWidget*>("PlotViewNotice");
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_EQ(notice->accessibleName(), "root at x 1.5708");
    QAccessibleInterface* told = QAccessible::queryAccessibleInterface(const_cast<QWidget*>(notice));
    ASSERT_NE(told, nullptr);
    EXPECT_EQ(told->role(), QAccessible::Notification);
#endif
    Key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(Text("XlowEdit"), "-6");
    EXPECT_NEAR(Graph().Traced()->X, M_PI / 2, 1e-8);
    EXPECT_EQ(Graph().accessibleName(), "Graph of y = cos(x)") << "the name stays what the picture shows";
}

TEST_F(Keyboard, AHeldArrowIsToldAtMostEveryIntervalAndEndsOnTheLastPoint)
{
    WriteSettingsFile("[Main]\nTrace=1\n");
    Open();
    Listen();
    Graph().setFocus();
    Settle();
    ASSERT_TRUE(Graph().hasFocus());
    const int presses = 30;
    for (int press = 0; press < presses; ++press)
        QTest::keyClick(&Graph(), Qt::Key_Right);
    const double x = Graph().Traced()->X;
    const QString last = QStringLiteral("x %1, y %2").arg(x, 0, 'g', 6).arg(std::sin(x), 0, 'g', 3);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Heard.empty() && Heard.back().Text == last; }))
        << (Heard.empty() ? "nothing told" : Heard.back().Text.toStdString()) << " for " << last.toStdString();
    ASSERT_LT(Heard.size(), static_cast<size_t>(presses));
    for (size_t k = 1; k < Heard.size(); ++k)
        EXPECT_GE(Heard[k].At - Heard[k - 1].At, TPlotView::AnnounceInterval - 1)
            << Heard[k - 1].Text.toStdString() << " then " << Heard[k].Text.toStdString();
}

}  // namespace
