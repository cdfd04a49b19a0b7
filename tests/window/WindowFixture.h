// A main window over a settings file of the test's own, shown offscreen and
// driven as a user drives it: clicks, keys and menu items.
#pragma once

#include "FakeDialogs.h"

#include "window/PlotView.h"
#include "window/GraphMainForm.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

class WindowFixture : public testing::Test {
protected:
    QTemporaryDir Folder;
    TFakeDialogs Dialogs;
    TUserDialogsOverride DialogsInUse{Dialogs};
    std::unique_ptr<TGraphMainForm> Window;

    std::string SettingsPath() const { return Folder.filePath("Orvalis.INI").toStdString(); }
    // Writes the settings file the window will read.
    void WriteSettingsFile(const std::string& text) const;
    // Creates the window, shows it and lets it handle what it posted.
    void Open();
    // Lets the window handle the events posted so far.
    static void Settle();

    template <class T>
    T* Control(const char* name) const
    {
        T* control = Window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    QString Text(const char* edit) const { return Control<QLineEdit>(edit)->text(); }
    void SetText(const char* edit, const QString& text) const { Control<QLineEdit>(edit)->setText(text); }
    void Click(const char* button) const;
    void Choose(const char* action) const;
    void ChooseExample(const QString& caption) const;
    // Resizes the window so that Graph has the given size, and settles.
    void ResizeGraph(int width, int height) const;

    TPlotView& Graph() const { return Window->Graph(); }
    const TViewWindow& View() const { return Window->Engine().View(); }
    void SetYRange(double low, double high) const;
    void SetXRange(const QString& low, const QString& high) const;
};
