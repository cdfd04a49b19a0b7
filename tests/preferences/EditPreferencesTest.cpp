// EditPreferences as the user meets it: what each way of closing the dialog
// keeps, the line width items, the two options and the colour rows.
#include "DialogDriver.h"

#include "preferences/ColorButton.h"
#include "preferences/EditPreferences.h"
#include "preferences/PrefDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QPointer>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <limits>
#include <string>

// Found by argument lookup, so it lives beside TDrawingSettings.
static void PrintTo(const TDrawingSettings& s, std::ostream* out)
{
    *out << std::hex << "{back " << s.BackgroundColor << ", axis " << s.AxisColor << ", good "
         << s.GoodPointColor << ", bad " << s.BadPointColor << std::dec << ", width " << s.LineWidth
         << ", boundary " << s.Boundary << ", ticks " << s.Ticks << "}";
}

namespace {

TDrawingSettings Start()
{
    return {0x00332211, 0x00665544, 0x00998877, 0x00CCBBAA, 1, true, false};
}

bool IsChecked(QDialog& dialog, const char* item)
{
    return dialog.findChild<QAbstractButton*>(item)->isChecked();
}

// ---- Closing: only OK writes back, whatever the user changed before.

struct TClosing {
    const char* Name;
    std::function<void(QDialog&)> Close;
    bool Confirms;
};

class Closing : public testing::TestWithParam<TClosing> {};

TEST_P(Closing, OnlyOkWritesBack)
{
    TFakeColorChooser chooser;
    const TUserDialogsOverride seam(chooser);
    chooser.Answers = {QColor(0x12, 0x34, 0x56)};
    const TEditOutcome outcome = EditAsUser(Start(), [](QDialog& dialog) {
        Click(dialog, "AxesBtn");
        Click(dialog, "WideItem");
        Click(dialog, "BoundaryItem");
        Click(dialog, "TicksItem");
        GetParam().Close(dialog);
    });

    EXPECT_EQ(outcome.Confirmed, GetParam().Confirms);
    const TDrawingSettings edited{0x00332211, 0x00563412, 0x00998877, 0x00CCBBAA, 3, false, true};
    EXPECT_EQ(outcome.Settings, GetParam().Confirms ? edited : Start());
}

INSTANTIATE_TEST_SUITE_P(
    PrefDialog, Closing,
    testing::Values(
        TClosing{"OkButton", [](QDialog& d) { Click(d, "OKBtn"); }, true},
        TClosing{"EnterOnFocusedOk", [](QDialog& d) { PressEnterOn(d, "OKBtn"); }, true},
        TClosing{"CancelButton", [](QDialog& d) { Click(d, "CancelBtn"); }, false},
        TClosing{"EnterOnCheckItem", [](QDialog& d) { PressEnterOn(d, "BoundaryItem"); }, false},
        TClosing{"EnterOnRadioItem", [](QDialog& d) { PressEnterOn(d, "NarrowItem"); }, false},
        TClosing{"EnterOnColorButton", [](QDialog& d) { PressEnterOn(d, "BackBtn"); }, false},
        TClosing{"EnterOnDialog", [](QDialog& d) { QTest::keyClick(&d, Qt::Key_Enter, Qt::KeypadModifier); }, false},
        TClosing{"Escape", [](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }, false},
        TClosing{"WindowFrame", [](QDialog& d) { d.close(); }, false}),
    [](const testing::TestParamInfo<TClosing>& info) { return std::string(info.param.Name); });

// ---- Line width: above 1 shows "Wide"; OK stores 1 or 3, Cancel the old value.

struct TWidthCase {
    std::int32_t Start;
    bool ShowsWide;
    const char* Click;  // item the user clicks, or nothing
    const char* Close;
    std::int32_t Stored;
};

class LineWidth : public testing::TestWithParam<TWidthCase> {};

TEST_P(LineWidth, ShownAndStored)
{
    const TWidthCase& c = GetParam();
    TDrawingSettings start = Start();
    start.LineWidth = c.Start;
    bool shownWide = false;
    bool shownNarrow = false;
    const TEditOutcome outcome = EditAsUser(start, [&](QDialog& dialog) {
        shownWide = IsChecked(dialog, "WideItem");
        shownNarrow = IsChecked(dialog, "NarrowItem");
        if (c.Click != nullptr)
            Click(dialog, c.Click);
        Click(dialog, c.Close);
    });
    EXPECT_EQ(shownWide, c.ShowsWide);
    EXPECT_NE(shownNarrow, c.ShowsWide) << "exactly one item is selected";
    EXPECT_EQ(outcome.Settings.LineWidth, c.Stored);
}

constexpr std::int32_t Lowest = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t Highest = std::numeric_limits<std::int32_t>::max();

INSTANTIATE_TEST_SUITE_P(PrefDialog, LineWidth,
                         testing::Values(TWidthCase{2, true, nullptr, "OKBtn", 3},
                                         TWidthCase{2, true, nullptr, "CancelBtn", 2},
                                         TWidthCase{7, true, nullptr, "OKBtn", 3},
                                         TWidthCase{3, true, nullptr, "OKBtn", 3},
                                         TWidthCase{Highest, true, nullptr, "OKBtn", 3},
                                         TWidthCase{1, false, nullptr, "OKBtn", 1},
                                         TWidthCase{0, false, nullptr, "OKBtn", 1},
                                         TWidthCase{-5, false, nullptr, "OKBtn", 1},
                                         TWidthCase{-5, false, nullptr, "CancelBtn", -5},
                                         TWidthCase{Lowest, false, nullptr, "OKBtn", 1},
                                         TWidthCase{1, false, "WideItem", "OKBtn", 3},
                                         TWidthCase{0, false, "WideItem", "CancelBtn", 0},
                                         TWidthCase{7, true, "NarrowItem", "OKBtn", 1},
                                         TWidthCase{7, true, "NarrowItem", "CancelBtn", 7}),
                         [](const testing::TestParamInfo<TWidthCase>& info) {
                             const TWidthCase& c = info.param;
                             const std::string start = c.Start < 0 ? "Minus" + std::to_string(-std::int64_t{c.Start})
                                                                   : std::to_string(c.Start);
                             return "Width" + start + (c.Click ? std::string("_") + c.Click : "") + "_" + c.Close;
                         });

// ---- The two options: shown as given, toggled by a click, stored on OK.

struct TOptionsCase {
    bool Boundary;
    bool Ticks;
};

class Options : public testing::TestWithParam<TOptionsCase> {};

TEST_P(Options, ShownAndToggled)
{
    const TOptionsCase& c = GetParam();
    TDrawingSettings start = Start();
    start.Boundary = c.Boundary;
    start.Ticks = c.Ticks;
    bool shownBoundary = !c.Boundary;
    bool shownTicks = !c.Ticks;
    const TEditOutcome kept = EditAsUser(start, [&](QDialog& dialog) {
        shownBoundary = IsChecked(dialog, "BoundaryItem");
        shownTicks = IsChecked(dialog, "TicksItem");
        Click(dialog, "OKBtn");
    });
    EXPECT_EQ(shownBoundary, c.Boundary);
    EXPECT_EQ(shownTicks, c.Ticks);
    EXPECT_EQ(kept.Settings, start);

    const TEditOutcome boundaryToggled = EditAsUser(start, [](QDialog& dialog) {
        Click(dialog, "BoundaryItem");
        Click(dialog, "OKBtn");
    });
    EXPECT_EQ(boundaryToggled.Settings.Boundary, !c.Boundary);
    EXPECT_EQ(boundaryToggled.Settings.Ticks, c.Ticks);

    const TEditOutcome ticksToggled = EditAsUser(start, [](QDialog& dialog) {
        Click(dialog, "TicksItem");
        Click(dialog, "OKBtn");
    });
    EXPECT_EQ(ticksToggled.Settings.Boundary, c.Boundary);
    EXPECT_EQ(ticksToggled.Settings.Ticks, !c.Ticks);
}

INSTANTIATE_TEST_SUITE_P(PrefDialog, Options,
                         testing::Values(TOptionsCase{false, false}, TOptionsCase{false, true},
                                         TOptionsCase{true, false}, TOptionsCase{true, true}),
                         [](const testing::TestParamInfo<TOptionsCase>& info) {
                             return std::string(info.param.Boundary ? "Boundary" : "NoBoundary") +
                                    (info.param.Ticks ? "_Ticks" : "_NoTicks");
                         });

// ---- Colour rows: each button edits its own colour, 0x00BBGGRR both ways.

struct TColorRow {
    const char* Button;
    TColor TDrawingSettings::*Field;
};

class ColorRow : public testing::TestWithParam<TColorRow> {};

TEST_P(ColorRow, ChooserOpensAtTheColourAndConfirmReplacesIt)
{
    const TColorRow& row = GetParam();
    TFakeColorChooser chooser;
    const TUserDialogsOverride seam(chooser);
    chooser.Answers = {QColor(0xAB, 0xCD, 0xEF)};
    const TEditOutcome outcome = EditAsUser(Start(), [&](QDialog& dialog) {
        Click(dialog, row.Button);
        Click(dialog, "OKBtn");
    });

    const TDrawingSettings start = Start();
    ASSERT_EQ(chooser.OpenedAt.size(), 1u);
    const TColor was = start.*row.Field;
    EXPECT_EQ(chooser.OpenedAt[0], QColor(was & 0xFF, (was >> 8) & 0xFF, (was >> 16) & 0xFF));
    TDrawingSettings expected = start;
    expected.*row.Field = 0x00EFCDAB;
    EXPECT_EQ(outcome.Settings, expected);
}

TEST_P(ColorRow, CancelledChooserKeepsTheColour)
{
    TFakeColorChooser chooser;
    const TUserDialogsOverride seam(chooser);
    chooser.Answers = {std::nullopt};
    const TEditOutcome outcome = EditAsUser(Start(), [&](QDialog& dialog) {
        Click(dialog, GetParam().Button);
        Click(dialog, "OKBtn");
    });
    EXPECT_EQ(chooser.OpenedAt.size(), 1u);
    EXPECT_TRUE(outcome.Confirmed);
    EXPECT_EQ(outcome.Settings, Start());
}

INSTANTIATE_TEST_SUITE_P(PrefDialog, ColorRow,
                         testing::Values(TColorRow{"BackBtn", &TDrawingSettings::BackgroundColor},
                                         TColorRow{"AxesBtn", &TDrawingSettings::AxisColor},
                                         TColorRow{"GoodBtn", &TDrawingSettings::GoodPointColor},
                                         TColorRow{"BadBtn", &TDrawingSettings::BadPointColor}),
                         [](const testing::TestParamInfo<TColorRow>& info) { return std::string(info.param.Button); });

TEST(PrefDialogColors, ChooserOpensAtTheLastChosenColour)
{
    TFakeColorChooser chooser;
    const TUserDialogsOverride seam(chooser);
    chooser.Answers = {QColor(1, 2, 3), std::nullopt, QColor(4, 5, 6)};
    const TEditOutcome outcome = EditAsUser(Start(), [](QDialog& dialog) {
        for (int i = 0; i < 3; ++i)
            Click(dialog, "GoodBtn");
        Click(dialog, "OKBtn");
    });
    ASSERT_EQ(chooser.OpenedAt.size(), 3u);
    EXPECT_EQ(chooser.OpenedAt[1], QColor(1, 2, 3));
    EXPECT_EQ(chooser.OpenedAt[2], QColor(1, 2, 3));
    EXPECT_EQ(outcome.Settings.GoodPointColor, 0x00060504u);
}

TEST(PrefDialogColors, TopByteSurvivesUntilTheColourIsChosen)
{
    TFakeColorChooser chooser;
    const TUserDialogsOverride seam(chooser);
    chooser.Answers = {QColor(0x10, 0x20, 0x30)};
    TDrawingSettings start = Start();
    start.BackgroundColor = 0x7F123456;
    start.AxisColor = 0xFF654321;
    const TEditOutcome outcome = EditAsUser(start, [](QDialog& dialog) {
        Click(dialog, "AxesBtn");
        Click(dialog, "OKBtn");
    });
    EXPECT_EQ(chooser.OpenedAt.at(0), QColor(0x21, 0x43, 0x65));
    EXPECT_EQ(outcome.Settings.BackgroundColor, 0x7F123456u);
    EXPECT_EQ(outcome.Settings.AxisColor, 0x00302010u);
}

TEST(PrefDialogColors, ButtonFaceIsFilledWithItsColour)
{
    QImage faces[4];
    EditAsUser(Start(), [&](QDialog& dialog) {
        const char* buttons[] = {"BackBtn", "AxesBtn", "GoodBtn", "BadBtn"};
        for (int i = 0; i < 4; ++i)
            faces[i] = dialog.findChild<QWidget*>(buttons[i])->grab().toImage();
        Click(dialog, "CancelBtn");
    });
    const TDrawingSettings start = Start();
    const TColor colors[] = {start.BackgroundColor, start.AxisColor, start.GoodPointColor, start.BadPointColor};
    for (int i = 0; i < 4; ++i) {
        const QColor expected(colors[i] & 0xFF, (colors[i] >> 8) & 0xFF, (colors[i] >> 16) & 0xFF);
        EXPECT_EQ(faces[i].pixelColor(faces[i].rect().center()), expected) << "button " << i;
    }
}

// ---- Lifetime: a fresh modal dialog for every use, released afterwards.

TEST(PrefDialogLifetime, ModalCentredOnTheScreenAndReleased)
{
    // QRect's centre of an even size rounds down, once for the screen and
    // once for the dialog; offscreen windows have no frame.
    constexpr int Rounding = 4;
    QWidget owner;
    owner.setGeometry(600, 600, 150, 150);
    owner.show();
    QPointer<QDialog> seen;
    bool modal = false;
    QPoint centre;
    QTimer::singleShot(0, [&] {
        seen = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(seen, nullptr);
        modal = seen->isModal();
        centre = seen->geometry().center();
        seen->reject();
    });
    TDrawingSettings s = Start();
    EXPECT_FALSE(EditPreferences(s, &owner));
    EXPECT_TRUE(modal);
    EXPECT_NE(qobject_cast<TPrefDialog*>(seen.data()), nullptr);
    const QPoint screenCentre = QApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((centre - screenCentre).manhattanLength(), Rounding)
        << "centre " << centre.x() << "," << centre.y() << ", screen's " << screenCentre.x() << ","
        << screenCentre.y();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(seen.isNull());
    EXPECT_TRUE(owner.findChildren<TPrefDialog*>().isEmpty());
}

TEST(PrefDialogLifetime, NothingCarriesOverBetweenUses)
{
    const TEditOutcome first = EditAsUser(Start(), [](QDialog& dialog) {
        Click(dialog, "WideItem");
        Click(dialog, "CancelBtn");
    });
    bool wideShown = true;
    EditAsUser(first.Settings, [&](QDialog& dialog) {
        wideShown = IsChecked(dialog, "WideItem");
        Click(dialog, "CancelBtn");
    });
    EXPECT_FALSE(wideShown);
    for (QWidget* widget : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<TPrefDialog*>(widget), nullptr);
}

}  // namespace
