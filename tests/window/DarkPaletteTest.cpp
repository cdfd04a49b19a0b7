// Under a dark desktop palette every text of the main window, the About
// window and the Preferences dialog still reads: its letters stand out from
// what lies behind them, be it the palette's dark colours or a background the
// window paints itself.
#include "WindowFixture.h"

#include "about/AboutForm.h"
#include "preferences/PrefDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

QPalette DarkColours()
{
    QPalette dark;
    const std::pair<QPalette::ColorRole, QColor> colours[] = {
        {QPalette::Window, QColor(0x35, 0x35, 0x35)},     {QPalette::WindowText, QColor(0xEE, 0xEE, 0xEE)},
        {QPalette::Base, QColor(0x23, 0x23, 0x23)},       {QPalette::AlternateBase, QColor(0x35, 0x35, 0x35)},
        {QPalette::Text, QColor(0xEE, 0xEE, 0xEE)},       {QPalette::Button, QColor(0x35, 0x35, 0x35)},
        {QPalette::ButtonText, QColor(0xEE, 0xEE, 0xEE)}, {QPalette::Highlight, QColor(0x2A, 0x82, 0xDA)},
        {QPalette::HighlightedText, Qt::black},           {QPalette::Light, QColor(0x50, 0x50, 0x50)},
        {QPalette::Midlight, QColor(0x45, 0x45, 0x45)},   {QPalette::Dark, QColor(0x20, 0x20, 0x20)},
        {QPalette::Mid, QColor(0x2A, 0x2A, 0x2A)},        {QPalette::Shadow, Qt::black},
    };
    for (const auto& [role, colour] : colours)
        dark.setColor(role, colour);
    dark.setColor(QPalette::Disabled, QPalette::Text, QColor(0x9A, 0x9A, 0x9A));
    dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x9A, 0x9A, 0x9A));
    dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x9A, 0x9A, 0x9A));
    return dark;
}

// The text a control shows, if any.
QString TextOf(const QWidget& control)
{
    if (const auto* label = qobject_cast<const QLabel*>(&control))
        return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control))
        return button->text();
    if (const auto* edit = qobject_cast<const QLineEdit*>(&control))
        return edit->text();
    return {};
}

// The relative luminance of a colour, 0 for black to 1 for white.
double Luminance(QRgb colour)
{
    const auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(colour)) + 0.7152 * linear(qGreen(colour)) + 0.0722 * linear(qBlue(colour));
}

// The contrast ratio of two colours, from 1 (the same) to 21 (black and white).
double Contrast(QRgb a, QRgb b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// How many pixels of the box stand out from its commonest colour, the
// background the text lies on: more than a light grey shadow does on white,
// or a light text on white.
int StandingOut(const QImage& shot, const QRect& box)
{
    constexpr double LeastContrast = 2.5;
    std::map<QRgb, int> counts;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            ++counts[shot.pixel(x, y) & 0xFFFFFF];
    const QRgb background =
        std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
    int standing = 0;
    for (const auto& [colour, count] : counts)
        if (Contrast(colour, background) >= LeastContrast)
            standing += count;
    return standing;
}

// Every control of the window that shows a text: enough of its pixels stand
// out to read it. A letter of 11 pixels has more than a few.
void ExpectEveryTextReads(QWidget& window)
{
    constexpr int FewestPixels = 8;
    const QImage shot = window.grab().toImage();
    const qreal ratio = shot.devicePixelRatio();
    int texts = 0;
    for (QWidget* control : window.findChildren<QWidget*>()) {
        if (!control->isVisible() || TextOf(*control).trimmed().isEmpty())
            continue;
        ++texts;
        const QRect box(control->mapTo(&window, QPoint(0, 0)), control->size());
        const QRect pixels = QRect((box.topLeft() * ratio), box.size() * ratio) & shot.rect();
        EXPECT_GE(StandingOut(shot, pixels), FewestPixels)
            << window.objectName().toStdString() << ": " << control->objectName().toStdString() << " \""
            << TextOf(*control).toStdString() << "\" has vanished";
    }
    EXPECT_GT(texts, 3) << window.objectName().toStdString();
}

class DarkPalette : public WindowFixture {
protected:
    void SetUp() override
    {
        Style = QApplication::style()->name();
        Palette = QApplication::palette();
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(DarkColours());
    }
    void TearDown() override
    {
        Window.reset();
        QApplication::setStyle(QStyleFactory::create(Style));
        QApplication::setPalette(Palette);
    }
    QString Style;
    QPalette Palette;
};

TEST_F(DarkPalette, EveryTextReads)
{
    Open();
    ExpectEveryTextReads(*Window);

    Window->CreateAboutForm();
    TAboutForm& about = *Window->AboutForm();
    about.ShowAbout();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    ExpectEveryTextReads(about);
    about.hide();

    TPrefDialog preferences(Window.get());
    preferences.Fill(TDrawingSettings{});
    preferences.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&preferences));
    ExpectEveryTextReads(preferences);
}

}  // namespace
