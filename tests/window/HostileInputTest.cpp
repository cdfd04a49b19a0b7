// What a hostile user types or a broken file holds, through the real window:
// nothing crashes, hangs, poisons later plots or loses the settings.
#include "WindowFixture.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include <fstream>
#include <random>
#include <sstream>

namespace {

using HostileInput = WindowFixture;

long ResidentKilobytes()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

TEST_F(HostileInput, MegabyteFormulaPlots)
{
    Open();
    // x+x+…+x, a million characters, pasted and plotted.
    std::string formula(1000001, 'x');
    for (std::size_t i = 1; i < formula.size(); i += 2)
        formula[i] = '+';
    SetText("YFormula", QString::fromStdString(formula));
    EXPECT_EQ(Text("YFormula").size(), 1000001) << "nothing of the paste is cut";
    const int plots = Window->PlotCount();
    Click("PlotBtn");
    EXPECT_EQ(Window->PlotCount(), plots + 1);
    EXPECT_TRUE(Dialogs.Messages.empty());
    EXPECT_DOUBLE_EQ(View().YMax, 196 * 20.0 / 437 / 2);
}

TEST_F(HostileInput, RangeTextsThatAreNoUsableNumber)
{
    Open();
    const std::string longText(100000, '7');
    const struct { std::string low, high, message; } cases[] = {
        {longText, "10", "'" + longText + "' is not a valid floating point value."},
        {"1e400", "10", "Floating point overflow."},
        {"-10", "NaN", "'NaN' is not a valid floating point value."},
        {"INF", "10", "'INF' is not a valid floating point value."},
        {"-1e308", "1e308", ""},  // a valid range whose extent exceeds a double
    };
    for (const auto& c : cases) {
        SetXRange(QString::fromStdString(c.low), QString::fromStdString(c.high));
        Dialogs.Messages.clear();
        Click("PlotBtn");
        if (c.message.empty()) {
            for (const TShownMessage& message : Dialogs.Messages)
                ADD_FAILURE() << c.low << ": " << message.Text.toStdString();
        } else {
            ASSERT_EQ(Dialogs.Messages.size(), 1u) << c.low.substr(0, 20);
            EXPECT_TRUE(Dialogs.Messages[0].Text.toStdString() == c.message)
                << Dialogs.Messages[0].Text.left(80).toStdString() << "… (" << Dialogs.Messages[0].Text.size()
                << " characters)";
        }
        EXPECT_EQ(FpuStatusWord() & StatusFaults, 0);
    }
    // Nothing is poisoned: the next plot is as good as the first.
    SetXRange("-10", "10");
    SetText("YFormula", "x+1");
    Dialogs.Messages.clear();
    Click("PlotBtn");
    EXPECT_TRUE(Dialogs.Messages.empty());
}

TEST_F(HostileInput, BrokenSettingsFilesGiveTheDefaults)
{
    std::mt19937 random(7);
    std::string noise(4096, '\0');
    for (char& c : noise)
        c = static_cast<char>(random());
    const std::string files[] = {noise, "[Main]\nYFormula=" + std::string(10 * 1024 * 1024, 'x') + "\n"};
    for (const std::string& content : files) {
        WriteSettingsFile(content);
        Dialogs.Messages.clear();
        Open();
        EXPECT_EQ(Text("XlowEdit"), "-10");
        Window.reset();
        QFile::remove(QString::fromStdString(SettingsPath()));
    }
}

// A seeded storm of user actions: clicks, drags, keys, menu items, resizes,
// track bar moves and dialogs answered at once.
TEST_F(HostileInput, TenThousandRandomActions)
{
    Open();
    std::mt19937 random(2026);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const char* buttons[] = {"UpBtn", "DownBtn", "LeftBtn", "RightBtn", "OriginBtn", "PlotBtn", "ZoomInBtn", "ZoomOutBtn"};
    const char* edits[] = {"YFormula", "XlowEdit", "XhighEdit"};
    const char typed[] = "x+-*/^%()0123456789.eE ,sincotgqrlbpz";
    QList<QAction*> items;
    for (QAction* menu : Window->menuBar()->actions())
        for (QAction* item : menu->menu()->actions())
            if (!item->isSeparator() && item->objectName() != "Exit1" && item->objectName() != "Contents1" &&
                item->objectName() != "AboutOrvalis1")
                items << item;
    // Any modal dialog an action opens is answered at once, OK or Cancel.
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            pick(2) ? dialog->accept() : dialog->reject();
    });
    answerer.start(0);
    Dialogs.SaveAnswer = Folder.filePath("storm.bmp");

    for (int action = 0; action < 10000; ++action) {
        const QPoint at(pick(Graph().width() + 40) - 20, pick(Graph().height() + 40) - 20);
        switch (pick(8)) {
        case 0: Click(buttons[pick(8)]); break;
        case 1: QTest::mouseClick(&Graph(), Qt::LeftButton, pick(2) ? Qt::ControlModifier : Qt::NoModifier, at); break;
        case 2:
            QTest::mousePress(&Graph(), Qt::RightButton, {}, at);
            QTest::mouseRelease(&Graph(), pick(2) ? Qt::RightButton : Qt::LeftButton, {}, at + QPoint(pick(61) - 30, pick(61) - 30));
            break;
        case 3: {
            QLineEdit* edit = Control<QLineEdit>(edits[pick(3)]);
            if (pick(4) == 0)
                edit->clear();
            QTest::keyClick(edit, typed[pick(sizeof typed - 1)]);
            break;
        }
        case 4: items[pick(static_cast<int>(items.size()))]->trigger(); break;
        case 5: Window->resize(80 + pick(900), 200 + pick(700)); break;
        case 6: Control<QSlider>("TrackBar1")->setValue(pick(1001)); break;
        case 7: QTest::mouseMove(&Graph(), at); break;
        }
        if (action % 50 == 0)
            Settle();
        ASSERT_EQ(FpuStatusWord() & StatusFaults, 0) << "after action " << action;
    }
    answerer.stop();
    Settle();
    Window.reset();
    // The settings file is whole.
    QFile file(QString::fromStdString(SettingsPath()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_GT(lines.size(), 2);
    EXPECT_EQ(lines.takeFirst(), "[Main]");
    EXPECT_EQ(lines.takeLast(), "");
    // The twelve in their order; a key of an addition where the file got it
    // (a key new to a file goes at its end), each once.
    const QList<QByteArray> twelve = {"YFormula", "XLow", "Xhigh", "BackgroundColor", "AxisColor", "GoodPointColor",
                                      "BadPointColor", "LineWidth", "Boundary", "Ticks", "Z", "Cartesian"};
    const QList<QByteArray> added = {"Grid", "FitY", "ScaleOnFrame", "Trace"};
    QList<QByteArray> keys, kept;
    for (const QByteArray& line : lines)
        keys << line.left(line.indexOf('='));
    for (const QByteArray& key : keys) {
        EXPECT_EQ(keys.count(key), 1) << key.toStdString();
        EXPECT_TRUE(twelve.contains(key) || added.contains(key)) << "unknown: " << key.toStdString();
        if (twelve.contains(key))
            kept << key;
    }
    EXPECT_EQ(kept, twelve);
}

TEST_F(HostileInput, TenThousandPlotsDoNotGrowTheProcess)
{
    Open();
    SetText("YFormula", "sqrt(sin(x))*cos(20*x*z)");
    for (int i = 0; i < 500; ++i)
        Click("PlotBtn");
    const long before = ResidentKilobytes();
    for (int i = 0; i < 10000; ++i) {
        Window->PlotBtnClick();
        if (i % 100 == 0)
            Settle();
    }
    const long growth = ResidentKilobytes() - before;
    RecordProperty("ResidentGrowthKB", static_cast<int>(growth));
    EXPECT_LT(growth, 4096) << "kB after 10,000 plots";
}

TEST_F(HostileInput, NoMappingIsEverWritableAndExecutable)
{
    Open();
    for (const char* formula : {"x", "sin(x)*cos(x)+x^2", "x^3+3*x^2-2", "2*cos(10*x)*exp(-x*x/20)"}) {
        SetText("YFormula", formula);
        Click("PlotBtn");
        std::ifstream maps("/proc/self/maps");
        std::string line;
        while (std::getline(maps, line)) {
            std::istringstream fields(line);
            std::string range, permissions;
            fields >> range >> permissions;
            EXPECT_FALSE(permissions[1] == 'w' && permissions[2] == 'x') << line;
        }
    }
}

}  // namespace
