// The window tests' fixture.
#include "WindowFixture.h"

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

void WindowFixture::WriteSettingsFile(const std::string& text) const
{
    QFile file(QString::fromStdString(SettingsPath()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.data(), static_cast<qint64>(text.size()));
}

void WindowFixture::Open()
{
    Window = std::make_unique<TGraphMainForm>(SettingsPath());
    Window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Window.get()));
    Settle();
}

void WindowFixture::Settle()
{
    QApplication::processEvents();
    QApplication::processEvents();
}

void WindowFixture::Click(const char* button) const
{
    QAbstractButton* control = Control<QAbstractButton>(button);
    QTest::mouseClick(control, Qt::LeftButton);
    Settle();
}

void WindowFixture::Choose(const char* action) const
{
    Control<QAction>(action)->trigger();
    Settle();
}

void WindowFixture::ChooseExample(const QString& caption) const
{
    for (QAction* item : Control<QMenu>("Examples1")->actions()) {
        if (item->text() == caption) {
            item->trigger();
            Settle();
            return;
        }
    }
    ADD_FAILURE() << "no example " << caption.toStdString();
}

void WindowFixture::ResizeGraph(int width, int height) const
{
    const QSize graph = Graph().size();
    Window->resize(Window->size() + QSize(width - graph.width(), height - graph.height()));
    Settle();
    ASSERT_EQ(Graph().size(), QSize(width, height));
}

void WindowFixture::SetYRange(double low, double high) const
{
    TViewWindow& view = Window->Engine().View();
    view.YMin = low;
    view.YMax = high;
}

void WindowFixture::SetXRange(const QString& low, const QString& high) const
{
    SetText("XlowEdit", low);
    SetText("XhighEdit", high);
}
