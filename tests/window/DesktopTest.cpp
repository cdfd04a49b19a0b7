// What the desktop and its assistive tools see of the program: the names of
// the controls, the windows' icon and the menu items' shortcuts.
#include "WindowFixture.h"

#include "about/AboutForm.h"
#include "about/HelpWindow.h"
#include "preferences/PrefDialog.h"

#include <QAbstractSlider>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QTextBrowser>

namespace {

// The controls of `window` a user reaches: anything that takes the focus,
// every button, box and slider, and the graph.
QStringList UnnamedControls(QWidget& window)
{
    QStringList unnamed;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (widget->window() != &window || widget->objectName().startsWith(QLatin1String("qt_")) ||
            widget->inherits("QMenu"))
            continue;
        const bool control = widget->focusPolicy() != Qt::NoFocus || qobject_cast<QAbstractButton*>(widget) ||
                             qobject_cast<QLineEdit*>(widget) || qobject_cast<QAbstractSlider*>(widget) ||
                             widget->objectName() == QLatin1String("Graph");
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        if (control && (accessible == nullptr || accessible->text(QAccessible::Name).trimmed().isEmpty()))
            unnamed << window.objectName() + "." + widget->objectName();
    }
    return unnamed;
}

class Desktop : public WindowFixture {
protected:
    void OpenActive()
    {
        Open();
        Window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Window.get()));
    }
    void Press(QWidget* target, Qt::Key key, Qt::KeyboardModifiers keys = Qt::NoModifier) const
    {
        QTest::keyClick(target, key, keys);
        Settle();
    }
};

TEST_F(Desktop, EveryControlOfEveryWindowHasANameAndTheProgramsIcon)
{
    Open();
    Window->CreateAboutForm();
    TPrefDialog preferences(Window.get());
    THelpWindow& help = ShowHelpContents(Window.get());
    for (QWidget* window : std::initializer_list<QWidget*>{Window.get(), Window->AboutForm(), &preferences, &help}) {
        EXPECT_FALSE(window->windowIcon().pixmap(32).isNull()) << window->objectName().toStdString();
        EXPECT_EQ(UnnamedControls(*window), QStringList()) << window->objectName().toStdString();
    }
    EXPECT_EQ(help.Browser().accessibleName(), "Help contents");
    EXPECT_EQ(QGuiApplication::desktopFileName(), "org.orvalis.Orvalis");

    // The graph says what it shows, in the mode it shows it.
    SetText("YFormula", "x^2");
    Click("PlotBtn");
    EXPECT_EQ(Graph().accessibleName(), "Graph of y = x^2");
    Choose("Polar1");
    EXPECT_EQ(Graph().accessibleName(), "Graph of r = x^2");
    EXPECT_EQ(Control<QToolButton>("LeftBtn")->accessibleName(), "Move left");
}

TEST_F(Desktop, ShortcutsTriggerTheirMenuItems)
{
    OpenActive();
    QLineEdit* formula = Control<QLineEdit>("YFormula");
    formula->setFocus();
    Dialogs.SaveAnswer.reset();
    Press(formula, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(Dialogs.SuggestedNames.size(), 1) << "Ctrl+S opens the save dialog";

    // Ctrl+C copies from a focused box and copies the picture elsewhere.
    formula->setText("sin(x)");
    formula->setSelection(0, 3);
    Press(formula, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "sin");
    EXPECT_TRUE(QGuiApplication::clipboard()->image().isNull());
    QSlider* slider = Control<QSlider>("TrackBar1");
    slider->setFocus();
    Press(slider, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), Graph().Picture());

    Press(slider, Qt::Key_F1);
    THelpWindow* help = Window->findChild<THelpWindow*>();
    ASSERT_NE(help, nullptr) << "F1 opens the help window";
    EXPECT_TRUE(help->isVisible());
    help->close();

    Window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Window.get()));
    Press(formula, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(Window->isVisible()) << "Ctrl+Q closes the window";
}

}  // namespace
