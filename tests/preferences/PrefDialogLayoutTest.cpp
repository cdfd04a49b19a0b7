// The Preferences dialog's layout, captions, face and default button, and the
// sharpness of the colour buttons at several device pixel ratios.
#include "plot/ProgramFaces.h"
#include "preferences/ColorButton.h"
#include "preferences/PrefDialog.h"

#include <QFontInfo>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <set>

namespace {

struct TPlace {
    const char* Name;
    QRect Geometry;  // inside the parent
    const char* Text;
};

// Labels carry no names of their own; they are found by their text.
const TPlace Places[] = {
    {"GroupBox1", {20, 20, 227, 151}, "Colors"},
    {"BackBtn", {120, 20, 86, 25}, ""},
    {"AxesBtn", {120, 50, 86, 25}, ""},
    {"GoodBtn", {120, 78, 86, 25}, ""},
    {"BadBtn", {120, 110, 86, 25}, ""},
    {"WidthGroup", {20, 184, 227, 55}, "Line Width"},
    {"OptionGroup", {20, 252, 227, 71}, "Options"},
    {"OKBtn", {78, 346, 80, 25}, "OK"},
    {"CancelBtn", {167, 346, 80, 25}, "Cancel"},
};

QString TextOf(const QWidget* widget)
{
    if (auto* box = qobject_cast<const QGroupBox*>(widget))
        return box->title();
    if (auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    return qobject_cast<const QLabel*>(widget)->text();
}

TEST(PrefDialogLayout, ControlsSitWhereTheyBelong)
{
    TPrefDialog dialog;
    for (const TPlace& place : Places) {
        auto* widget = dialog.findChild<QWidget*>(place.Name);
        ASSERT_NE(widget, nullptr) << place.Name;
        EXPECT_EQ(widget->geometry(), place.Geometry) << place.Name;
        EXPECT_EQ(TextOf(widget), place.Text) << place.Name;
    }
    const std::pair<const char*, QPoint> labels[] = {
        {"Background", {16, 26}}, {"Axes", {16, 56}}, {"Data points", {16, 84}}, {"Undefined Point", {16, 116}}};
    const QList<QLabel*> found = dialog.findChild<QGroupBox*>("GroupBox1")->findChildren<QLabel*>();
    for (const auto& [text, at] : labels) {
        const auto label = std::find_if(found.begin(), found.end(), [&](QLabel* l) { return l->text() == text; });
        ASSERT_NE(label, found.end()) << text;
        EXPECT_EQ((*label)->pos(), at) << text;
        EXPECT_LE((*label)->fontMetrics().horizontalAdvance(text), 120 - 16) << text << " runs into its button";
    }
}

TEST(PrefDialogLayout, WindowCaptionFontAndSize)
{
    TPrefDialog dialog;
    EXPECT_EQ(dialog.objectName(), "PrefDialog");
    EXPECT_EQ(dialog.windowTitle(), "Preferences");
    EXPECT_EQ(QFontInfo(dialog.font()).family(), ProgramSansFace) << "the program's face, whatever the machine has";
    EXPECT_EQ(dialog.font().pixelSize(), 11);
    EXPECT_EQ(dialog.findChild<QWidget*>("OKBtn")->font().pixelSize(), 11) << "children share the font";
    // 276 x 425 outside with 4-pixel borders and a 19-pixel caption.
    EXPECT_EQ(dialog.size(), QSize(268, 398));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << "the frame is fixed";
}

TEST(PrefDialogLayout, ItemsAndDefaultButton)
{
    TPrefDialog dialog;
    auto* narrow = dialog.findChild<QRadioButton*>("NarrowItem");
    auto* wide = dialog.findChild<QRadioButton*>("WideItem");
    ASSERT_TRUE(narrow && wide);
    EXPECT_EQ(narrow->text(), "Narrow");
    EXPECT_EQ(wide->text(), "Wide");
    EXPECT_TRUE(narrow->isChecked()) << "Narrow is selected at creation";
    EXPECT_EQ(narrow->parent(), dialog.findChild<QGroupBox*>("WidthGroup"));
    EXPECT_EQ(narrow->y(), wide->y()) << "two columns";
    EXPECT_LT(narrow->x(), wide->x());
    ASSERT_NE(narrow->group(), nullptr);
    EXPECT_EQ(narrow->group(), wide->group());
    EXPECT_TRUE(narrow->group()->exclusive());

    auto* boundary = dialog.findChild<QCheckBox*>("BoundaryItem");
    auto* ticks = dialog.findChild<QCheckBox*>("TicksItem");
    ASSERT_TRUE(boundary && ticks);
    EXPECT_EQ(boundary->text(), "Draw Boundary");
    EXPECT_EQ(ticks->text(), "Draw tickmarks on axes");
    EXPECT_EQ(boundary->parent(), dialog.findChild<QGroupBox*>("OptionGroup"));
    EXPECT_LT(boundary->y(), ticks->y()) << "item 0 above item 1";

    const QList<QPushButton*> buttons = dialog.findChildren<QPushButton*>();
    for (QPushButton* button : buttons)
        EXPECT_EQ(button->isDefault(), button->objectName() == "CancelBtn") << button->objectName().toStdString();
    for (const char* name : {"BackBtn", "AxesBtn", "GoodBtn", "BadBtn"})
        EXPECT_NE(qobject_cast<TColorButton*>(dialog.findChild<QWidget*>(name)), nullptr) << name;
}

// The colours met along the middle row of a colour button drawn at `ratio`,
// left edge to the centre: along a straight edge there is no blending.
std::set<QRgb> MiddleRowColours(qreal ratio, TColor face, bool focused)
{
    QWidget window;
    TColorButton button(&window);
    button.setGeometry(0, 0, 86, 25);
    button.SetColor(face);
    if (focused)
        button.setFocus();
    QPixmap pixmap(QSize(86, 25) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::magenta);
    button.render(&pixmap);
    const QImage image = pixmap.toImage();
    std::set<QRgb> colours;
    for (int x = 0; x < image.width() / 2; ++x)
        colours.insert(image.pixel(x, image.height() / 2));
    return colours;
}

TEST(PrefDialogPicture, ColourButtonsAreSharpAtEveryRatio)
{
    const QRgb face = qRgb(0x11, 0x22, 0x33);
    for (const qreal ratio : {1.0, 1.25, 1.5, 2.0, 3.0}) {
        const std::set<QRgb> colours = MiddleRowColours(ratio, 0x00332211, false);
        EXPECT_EQ(colours.size(), 2u) << "ratio " << ratio << ": outline and face only";
        EXPECT_TRUE(colours.count(face)) << "ratio " << ratio;
        EXPECT_FALSE(colours.count(qRgb(255, 0, 255))) << "ratio " << ratio << ": the face reaches the edge";
    }
}

}  // namespace
