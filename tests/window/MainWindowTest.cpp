// The main window as a user meets it: the first start, formulas that do not
// compile, the mode, a change of size, errors of a plot, keys.
#include "WindowFixture.h"

#include "RapidEvaluator/RapidEvaluator.h"
#include "about/AboutForm.h"
#include "about/HelpWindow.h"

#include <QAbstractButton>

#include <QMenu>
#include <QMenuBar>
#include <QTest>

namespace {

using MainWindow = WindowFixture;

TEST_F(MainWindow, FirstStartPlotsSineWithTheDefaults)
{
    Open();
    EXPECT_EQ(Window->windowTitle(), "Orvalis");
    EXPECT_EQ(Text("YFormula"), "sin(x)");
    EXPECT_EQ(Text("XlowEdit"), "-10");
    EXPECT_EQ(Text("XhighEdit"), "10");
    EXPECT_EQ(Text("Zedit"), "0.3");
    EXPECT_FALSE(Control<QLineEdit>("Zedit")->isEnabled());
    EXPECT_EQ(FormulaZ, 0.3);
    EXPECT_TRUE(Control<QAction>("Cartesian1")->isChecked());
    EXPECT_FALSE(Control<QAction>("Polar1")->isChecked());
    EXPECT_EQ(Control<QLabel>("Label1")->text(), "Y =");
    EXPECT_EQ(Control<QLabel>("mousePosition")->text(), "Ready...");
    // Once before the window is shown, once more at its real size.
    EXPECT_EQ(Window->PlotCount(), 2);
    EXPECT_EQ(Graph().size(), QSize(507, 266));
    EXPECT_EQ(Graph().Picture().deviceIndependentSize(), QSizeF(507, 266));
    EXPECT_EQ(Window->centralWidget()->size(), QSize(507, 439));
    EXPECT_TRUE(Dialogs.Messages.empty());
    EXPECT_EQ(View().XMin, -10);
    EXPECT_NEAR(View().YMax, 196 * 20.0 / 437 / 2, 1e-15);
}

TEST_F(MainWindow, ControlsAndMenus)
{
    Open();
    const struct { const char* name; QRect place; } places[] = {
        {"UpBtn", {38, 5, 27, 27}},      {"LeftBtn", {11, 33, 27, 27}},  {"OriginBtn", {38, 33, 27, 27}},
        {"RightBtn", {65, 33, 27, 27}},  {"ZoomOutBtn", {11, 59, 27, 27}}, {"DownBtn", {38, 59, 27, 27}},
        {"ZoomInBtn", {65, 60, 27, 27}}, {"PlotBtn", {11, 94, 81, 25}},  {"YFormula", {150, 12, 335, 21}},
        {"XlowEdit", {150, 38, 141, 24}}, {"XhighEdit", {330, 38, 155, 24}}, {"Zedit", {150, 68, 141, 24}},
        {"TrackBar1", {323, 69, 167, 27}},
    };
    for (const auto& p : places)
        EXPECT_EQ(Control<QWidget>(p.name)->geometry(), p.place) << p.name;
    EXPECT_EQ(Control<QToolButton>("UpBtn")->toolTip(), "Pan Up");
    EXPECT_EQ(Control<QToolButton>("OriginBtn")->toolTip(), "Goto origin");
    EXPECT_TRUE(Control<QToolButton>("ZoomInBtn")->isChecked());
    EXPECT_EQ(Graph().cursor().shape(), Qt::CrossCursor);
    QSlider* trackBar = Control<QSlider>("TrackBar1");
    EXPECT_EQ(trackBar->minimum(), 0);
    EXPECT_EQ(trackBar->maximum(), 1000);
    EXPECT_EQ(trackBar->value(), 300);

    QStringList menus;
    for (QAction* menu : Window->menuBar()->actions())
        menus << menu->text();
    EXPECT_EQ(menus, QStringList({"&File", "&Mode", "&Examples", "&Curve", "&Help"}));
    QStringList file;
    for (QAction* item : Control<QMenu>("File1")->actions())
        file << (item->isSeparator() ? "-" : item->text());
    EXPECT_EQ(file, QStringList({"Save to Clipboard", "Save to bitmap file...", "-", "Preferences...", "-", "Exit"}));
}

TEST_F(MainWindow, FormulaThatDoesNotCompileIsReportedAndTheOldPictureStays)
{
    Open();
    const QImage before = Graph().Picture();
    const int plots = Window->PlotCount();
    const struct { const char* formula; const char* text; } cases[] = {
        {"x+", "The formula is not valid at character 3.\rSyntax error"},
        {"", "The formula is not valid at character 1.\rEmpty expression"},
        // No syntax error: the reason is the error's own message.
        {"1e400*x", "The formula is not valid at character 6.\rFloating point overflow"},
        // A name of another notation: the program's spelling on a third line.
        {"tan(x)", "The formula is not valid at character 4.\rUnknown function or variable \"tan\"\r"
                   "Orvalis writes the tangent as tg(x)."},
    };
    for (const auto& c : cases) {
        SetText("YFormula", c.formula);
        Dialogs.Messages.clear();
        Click("PlotBtn");
        ASSERT_EQ(Dialogs.Messages.size(), 1u) << c.formula;
        EXPECT_EQ(Dialogs.Messages[0].Caption, "Orvalis");
        EXPECT_EQ(Dialogs.Messages[0].Text, c.text);
        EXPECT_EQ(Dialogs.Messages[0].Icon, QMessageBox::NoIcon);
        EXPECT_EQ(Graph().Picture(), before);
        EXPECT_EQ(Window->PlotCount(), plots);
    }
    // ResetView survived: the next plot that succeeds fits the view, even a
    // pan that would otherwise keep it.
    EXPECT_TRUE(View().ResetView);
    SetYRange(5, 7);
    SetText("YFormula", "x");
    Click("UpBtn");
    EXPECT_NEAR(View().YMax, 196 * 20.0 / 437 / 2, 1e-15);
    EXPECT_EQ(Window->PlotCount(), plots + 1);
}

TEST_F(MainWindow, ModeSwitchesReplotWithAFit)
{
    Open();
    Choose("Polar1");
    EXPECT_FALSE(Control<QAction>("Cartesian1")->isChecked());
    EXPECT_TRUE(Control<QAction>("Polar1")->isChecked());
    EXPECT_EQ(Control<QLabel>("Label1")->text(), "R =");
    EXPECT_EQ(Text("XlowEdit"), "-10") << "the range is the angle range now";
    EXPECT_NEAR(View().YMax, 1.0, 1e-3) << "sin fits radius 1";
    // Choosing the checked item replots and fits all the same.
    Choose("Cartesian1");
    SetYRange(3, 4);
    const int plots = Window->PlotCount();
    Choose("Cartesian1");
    EXPECT_TRUE(Control<QAction>("Cartesian1")->isChecked());
    EXPECT_FALSE(Control<QAction>("Polar1")->isChecked());
    EXPECT_EQ(Window->PlotCount(), plots + 1);
    EXPECT_NEAR(View().YMax, 196 * 20.0 / 437 / 2, 1e-15);
}

TEST_F(MainWindow, ResizeReplotsOnceAndDiscardsAZoomOfTheYRange)
{
    Open();
    SetYRange(0.5, 1.5);
    const int plots = Window->PlotCount();
    ResizeGraph(600, 300);
    EXPECT_EQ(Window->PlotCount(), plots + 1);
    EXPECT_EQ(Graph().Picture().size(), QSize(600, 300));
    EXPECT_NEAR(View().YMax, 230 * (20.0 / 530) / 2, 1e-15);
    EXPECT_EQ(Text("XlowEdit"), "-10");
    // Graph never gets smaller than 80 × 80.
    Window->resize(10, 10);
    Settle();
    EXPECT_GE(Graph().width(), 80);
    EXPECT_GE(Graph().height(), 80);
}

TEST_F(MainWindow, ErrorsOfAPlotAreShownWithAClosingPeriod)
{
    Open();
    const struct { const char* low; const char* high; const char* text; } cases[] = {
        {"abc", "10", "'abc' is not a valid floating point value."},
        {"1", "1", "Invalid floating point operation.\nThe x range is empty: \"1\" and \"1\" are the same number."},
        {"1e400", "10", "Floating point overflow."},
    };
    for (const auto& c : cases) {
        SetXRange(c.low, c.high);
        Dialogs.Messages.clear();
        Click("PlotBtn");
        ASSERT_EQ(Dialogs.Messages.size(), 1u) << c.low;
        EXPECT_EQ(Dialogs.Messages[0].Text, c.text);
        EXPECT_EQ(Dialogs.Messages[0].Caption, "Orvalis");
        EXPECT_EQ(Dialogs.Messages[0].Icon, QMessageBox::Critical);
        EXPECT_EQ(Text("XlowEdit"), c.low) << "the edits keep their text";
        EXPECT_EQ(FpuStatusWord() & StatusFaults, 0);
    }
    // The program goes on.
    SetXRange("-10", "10");
    Dialogs.Messages.clear();
    Click("PlotBtn");
    EXPECT_TRUE(Dialogs.Messages.empty());
}

TEST_F(MainWindow, EnterInTheEditsPlotsNothing)
{
    Open();
    const int plots = Window->PlotCount();
    for (const char* edit : {"YFormula", "XlowEdit", "XhighEdit"}) {
        QTest::keyClick(Control<QLineEdit>(edit), Qt::Key_Return);
        Settle();
    }
    EXPECT_EQ(Window->PlotCount(), plots);
}

TEST_F(MainWindow, StartsInTheModeAndWithTheFormulaOfTheSettingsFile)
{
    WriteSettingsFile("[Main]\nYFormula=x^2\nCartesian=0\nZ=958\n");
    Open();
    EXPECT_TRUE(Control<QAction>("Polar1")->isChecked());
    EXPECT_EQ(Control<QLabel>("Label1")->text(), "R =");
    EXPECT_EQ(Text("Zedit"), "0.958");
    EXPECT_EQ(Window->PlotCount(), 2) << "the track bar position from the file plots nothing by itself";
}

TEST_F(MainWindow, FormulaInTheSettingsFileThatDoesNotCompile)
{
    WriteSettingsFile("[Main]\nYFormula=sin(\n");
    Open();
    ASSERT_FALSE(Dialogs.Messages.empty());
    EXPECT_EQ(Dialogs.Messages[0].Text, QString("The formula is not valid at character 5.\rInvalid expression"));
    EXPECT_FALSE(Graph().HasPicture());
    EXPECT_EQ(Window->PlotCount(), 0);
}

TEST_F(MainWindow, ErrorOfTheFirstPlotIsShownAndTheWindowIsStillMade)
{
    WriteSettingsFile("[Main]\nXLow=abc\n");
    Open();
    ASSERT_EQ(Dialogs.Messages.size(), 1u) << "said once, not by each plot of the start";
    EXPECT_EQ(Dialogs.Messages[0].Text, "The box \"from\" of the x range holds \"abc\", which is no number a plot can use: "
                                        "'abc' is not a valid floating point value.\nThe graph shows x from -10 to 10.");
    EXPECT_EQ(Dialogs.Messages[0].Icon, QMessageBox::Warning);
    EXPECT_TRUE(Window->isVisible());
    EXPECT_EQ(Text("XlowEdit"), "abc");
    EXPECT_EQ(View().XMin, -10) << "the picture shows the default range";
    EXPECT_EQ(Window->PlotCount(), 2);
    SetXRange("-1", "1");
    Click("PlotBtn");
    EXPECT_EQ(Window->PlotCount(), 3);
}

TEST_F(MainWindow, HelpMenuShowsTheHelpAndTheAboutWindow)
{
    Open();
    Choose("AboutOrvalis1");
    TAboutForm* about = Window->AboutForm();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_FALSE(about->isModal()) << "the main window stays usable";
    Click("PlotBtn");
    EXPECT_TRUE(about->isVisible());
    Choose("AboutOrvalis1");
    EXPECT_EQ(Window->AboutForm(), about) << "shown again, not made again";
    about->findChild<QAbstractButton*>("BitBtn1")->click();
    Settle();
    EXPECT_FALSE(about->isVisible());

    Choose("Contents1");
    int shown = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        shown += qobject_cast<THelpWindow*>(window) != nullptr && window->isVisible();
    EXPECT_EQ(shown, 1);
}

}  // namespace
