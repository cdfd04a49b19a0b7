// The settings file through the window's life: read at creation, written at
// the end, and a write that is refused shown without losing the old file.
#include "WindowFixture.h"

#include <QDir>
#include <QFile>

namespace {

class Settings : public WindowFixture {
protected:
    QByteArray FileBytes() const
    {
        QFile file(QString::fromStdString(SettingsPath()));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void Close()
    {
        Window.reset();
    }
};

TEST_F(Settings, FirstRunWritesTheDefaultsFile)
{
    Open();
    Close();
    EXPECT_EQ(FileBytes(),
              "[Main]\nYFormula=sin(x)\nXLow=-10\nXhigh=10\nBackgroundColor=13303807\nAxisColor=8421504\n"
              "GoodPointColor=0\nBadPointColor=255\nLineWidth=1\nBoundary=1\nTicks=1\nZ=300\nCartesian=1\n");
}

TEST_F(Settings, WhatTheUserSetSurvivesARestart)
{
    Open();
    SetText("YFormula", "x^2-z");
    SetXRange("-3", "abc");  // a range that cannot be plotted is not kept
    Control<QSlider>("TrackBar1")->setValue(640);
    Choose("Polar1");
    Window->Drawing().GoodPointColor = 0x00FF00;
    Close();

    Dialogs.Messages.clear();
    Open();
    EXPECT_EQ(Text("YFormula"), "x^2-z");
    EXPECT_EQ(Text("XlowEdit"), "-3") << "the last range that could be plotted, -3 to 10";
    EXPECT_EQ(Text("XhighEdit"), "10");
    EXPECT_EQ(Text("Zedit"), "0.64");
    EXPECT_TRUE(Control<QAction>("Polar1")->isChecked());
    EXPECT_EQ(Control<QLabel>("Label1")->text(), "R =");
    EXPECT_EQ(Window->Drawing().GoodPointColor, 0x00FF00u);
    EXPECT_TRUE(Dialogs.Messages.empty());
}

TEST_F(Settings, ValuesPassThroughAndZIsKeptInRange)
{
    WriteSettingsFile("[Main]\nZ=5000\nLineWidth=7\nBoundary=2\nBackgroundColor=$FF\nTicks=\n");
    Open();
    EXPECT_EQ(Control<QSlider>("TrackBar1")->value(), 1000);
    EXPECT_EQ(Text("Zedit"), "1");
    EXPECT_EQ(Window->Drawing().LineWidth, 7);
    EXPECT_EQ(Window->Drawing().BackgroundColor, 255u);
    Close();
    const QByteArray bytes = FileBytes();
    EXPECT_TRUE(bytes.contains("\nZ=1000\n"));
    EXPECT_TRUE(bytes.contains("\nLineWidth=7\n"));
    EXPECT_TRUE(bytes.contains("\nBoundary=1\n"));
    EXPECT_TRUE(bytes.contains("\nTicks=1\n"));
    EXPECT_TRUE(bytes.contains("\nBackgroundColor=255\n"));
}

TEST_F(Settings, RefusedWriteIsShownAndTheProgramEndsNormally)
{
    // A folder where the file should be: it reads as defaults and cannot be
    // replaced.
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(SettingsPath())));
    Open();
    EXPECT_EQ(Text("YFormula"), "sin(x)");
    Dialogs.Messages.clear();
    Close();
    ASSERT_EQ(Dialogs.Messages.size(), 1u);
    EXPECT_EQ(Dialogs.Messages[0].Text, QString::fromStdString("Unable to write to " + SettingsPath() + "."));
    EXPECT_EQ(Dialogs.Messages[0].Icon, QMessageBox::Critical);
    EXPECT_TRUE(QFileInfo(QString::fromStdString(SettingsPath())).isDir());
}

TEST_F(Settings, OtherSectionsAndKeysAreKept)
{
    WriteSettingsFile("; my notes\r\n[Other]\r\nKey=1\r\n[main]\r\nyformula=cos(x)\r\nExtra=yes\r\n");
    Open();
    EXPECT_EQ(Text("YFormula"), "cos(x)");
    Close();
    const QByteArray bytes = FileBytes();
    EXPECT_TRUE(bytes.startsWith("; my notes\r\n[Other]\r\nKey=1\r\n[main]\r\n"));
    EXPECT_TRUE(bytes.contains("Extra=yes"));
    EXPECT_EQ(bytes.count("[Main]") + bytes.count("[main]"), 1);
}

}  // namespace
