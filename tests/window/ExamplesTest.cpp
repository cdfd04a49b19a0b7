// The z track bar and the Examples menu through the real controls.
#include "WindowFixture.h"

#include "window/core/ExampleCaption.h"
#include "RapidEvaluator/RapidEvaluator.h"

#include <QMenu>
#include <QTest>

namespace {

using ParameterAndExamples = WindowFixture;

TEST_F(ParameterAndExamples, TrackBarSetsZShowsItAndReplotsWithAFit)
{
    Open();
    QSlider* trackBar = Control<QSlider>("TrackBar1");
    const struct { int position; const char* text; } cases[] = {{1000, "1"}, {0, "0"}, {958, "0.958"}, {300, "0.3"}};
    for (const auto& c : cases) {
        trackBar->setValue(c.position);
        EXPECT_EQ(Text("Zedit"), c.text);
        EXPECT_EQ(FormulaZ, c.position / 1000.0);
    }
    SetYRange(1, 2);
    const int plots = Window->PlotCount();
    trackBar->setFocus();
    QTest::keyClick(trackBar, Qt::Key_Right);
    QTest::keyClick(trackBar, Qt::Key_PageUp);
    Settle();
    EXPECT_EQ(trackBar->value(), 304);
    EXPECT_EQ(Text("Zedit"), "0.304");
    EXPECT_EQ(Window->PlotCount(), plots + 2);
    EXPECT_NEAR(View().YMax, 196 * 20.0 / 437 / 2, 1e-15) << "the y zoom is lost";
    trackBar->setValue(304);
    EXPECT_EQ(Window->PlotCount(), plots + 2) << "the same position runs nothing";
}

TEST_F(ParameterAndExamples, TwentyThreeExamplesWithASeparator)
{
    Open();
    const QList<QAction*> items = Control<QMenu>("Examples1")->actions();
    ASSERT_EQ(items.size(), 24);
    EXPECT_TRUE(items[16]->isSeparator());
    EXPECT_EQ(items[0]->text(), "y = 1");
    EXPECT_EQ(items[15]->text(), "y = 2*cos(10*x)*exp(-x*x/20)");
    EXPECT_EQ(items[23]->text(), "R = x*(1+0.5*sin(10*z*x)^20),z=1.0");
    // Every example compiles.
    for (QAction* item : items) {
        if (item->isSeparator())
            continue;
        Dialogs.Messages.clear();
        item->trigger();
        Settle();
        EXPECT_TRUE(Dialogs.Messages.empty()) << item->text().toStdString();
    }
}

TEST_F(ParameterAndExamples, CartesianExampleAfterAPolarOne)
{
    Open();
    Control<QSlider>("TrackBar1")->setValue(500);
    ChooseExample("R = 5*sin(3*x)");
    EXPECT_TRUE(Control<QAction>("Polar1")->isChecked());
    EXPECT_EQ(Control<QLabel>("Label1")->text(), "R =");
    EXPECT_EQ(Text("YFormula"), "5*sin(3*x)");
    EXPECT_EQ(Text("XlowEdit"), "0");
    EXPECT_EQ(Text("XhighEdit"), "60");
    ChooseExample("y = x^3+3*x^2-2");
    EXPECT_TRUE(Control<QAction>("Cartesian1")->isChecked());
    EXPECT_FALSE(Control<QAction>("Polar1")->isChecked());
    EXPECT_EQ(Control<QLabel>("Label1")->text(), "Y =");
    EXPECT_EQ(Text("YFormula"), "x^3+3*x^2-2");
    EXPECT_EQ(Text("XlowEdit"), "-10");
    EXPECT_EQ(Text("XhighEdit"), "10");
    EXPECT_EQ(Control<QSlider>("TrackBar1")->value(), 500) << "z unchanged";
}

TEST_F(ParameterAndExamples, ZExamplesSetThePositionAndPlotTwiceWhenItChanges)
{
    Open();
    const struct { const char* caption; int position; } cases[] = {
        {"R = abs(sin(x*(2+z)))/(x+100),z=0.958", 958},
        {"R = x*(1+0.5*sin(10*z*x)^20),z=1.0", 1000},
    };
    for (const auto& c : cases) {
        int plots = Window->PlotCount();
        ChooseExample(c.caption);
        EXPECT_EQ(Control<QSlider>("TrackBar1")->value(), c.position);
        EXPECT_EQ(Window->PlotCount(), plots + 2) << c.caption;
        plots = Window->PlotCount();
        ChooseExample(c.caption);
        EXPECT_EQ(Window->PlotCount(), plots + 1) << "already at " << c.position;
    }
}

TEST_F(ParameterAndExamples, ZOfACaptionThatIsNoNumberEndsTheExample)
{
    Open();
    QAction* item = Control<QMenu>("Examples1")->addAction("R = x,z=abc");
    const int plots = Window->PlotCount();
    item->trigger();
    Settle();
    ASSERT_EQ(Dialogs.Messages.size(), 1u);
    EXPECT_EQ(Dialogs.Messages[0].Text, "'abc' is not a valid floating point value.");
    EXPECT_TRUE(Control<QAction>("Polar1")->isChecked());
    EXPECT_EQ(Text("YFormula"), "x");
    EXPECT_EQ(Control<QLabel>("Label1")->text(), "Y =") << "the caption is set only after z";
    EXPECT_EQ(Window->PlotCount(), plots);
}

TEST(ExampleCaption, ItemsAndValues)
{
    const struct { const char* caption; const char* name; const char* value; } cases[] = {
        {"y = x^2", "y", "x^2"},
        {"y = x^2", "Y", "x^2"},
        {"R = x*(1+0.5*sin(10*z*x)^20),z=1.0", "R", "x*(1+0.5*sin(10*z*x)^20)"},
        {"R = x*(1+0.5*sin(10*z*x)^20),z=1.0", "z", "1.0"},
        {"R = abs(sin(x*(2+z)))/(x+100),z=0.958", "y", ""},
        {"  a=1 ,  b=2", "b", "2"},
        {"\"y=a, b\",z=3", "y", "a, b"},
        {"\"y=say \"\"hi\"\"\"", "y", "say \"hi\""},
        {"y=1,y=2", "y", "1"},
        {"y", "y", ""},
        {"", "y", ""},
        {"x = 1 = 2", "x", "1=2"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExampleValue(ExampleItems(c.caption), c.name), c.value) << c.caption << " / " << c.name;
    EXPECT_EQ(ExampleItems("a b,,c"), (std::vector<std::string>{"a", "b", "", "c"}));
}

}  // namespace
