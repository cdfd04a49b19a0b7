// The settings that decide how a plot looks, and the one table that says, for
// each, its key in the settings file, its limits, its option of orvalis-plot,
// its control in the Preferences dialog and the name the help gives it.
#pragma once

#include <cstdint>
#include <limits>
#include <variant>

// Colours are 0x00BBGGRR, red in the low byte.
using TColor = std::uint32_t;

// The defaults are the values of a fresh record. A field added here is added
// last, so that the records written out in braces elsewhere stay as they are.
struct TDrawingSettings {
    TColor BackgroundColor = 0xCAFFFF;  // pale yellow
    TColor AxisColor = 0x808080;        // mid grey
    TColor GoodPointColor = 0x000000;   // black
    TColor BadPointColor = 0x0000FF;    // red
    std::int32_t LineWidth = 1;
    bool Boundary = true;
    bool Ticks = true;
    bool Grid = false;
    // Reading aids: a fitted Cartesian view takes its y extent from the
    // curve's values, and an axis out of view keeps its scale on the frame.
    bool FitY = false;
    bool ScaleOnFrame = false;

    bool operator==(const TDrawingSettings&) const = default;
};

// A field of the record by its kind: a colour, a whole number or a flag.
using TDrawingField = std::variant<TColor TDrawingSettings::*, std::int32_t TDrawingSettings::*,
                                   bool TDrawingSettings::*>;

// When a key goes into the settings file: always, or only once it matters,
// so that the files of users who never turn a later setting on stay as they
// were (older files lack its key).
enum class TKeyWriting { Always, OnceUsed };

// Where a setting's control lives: on the Preferences dialog's form, or as a
// checkable item of the main window's Curve menu, which the window binds.
enum class TControlPlace { PreferencesDialog, CurveMenu };

struct TDrawingSetting {
    TDrawingField Field;
    // Its key in section "Main" of the settings file.
    const char* Key;
    TKeyWriting Writing = TKeyWriting::Always;
    // The values a whole number may take where a user gives one: on the
    // command line and in the Preferences dialog. The settings file takes any
    // number, as it always has.
    std::int32_t Min = std::numeric_limits<std::int32_t>::min();
    std::int32_t Max = std::numeric_limits<std::int32_t>::max();
    // orvalis-plot's option, without the dashes. A flag's option is a switch
    // that gives it the opposite of its default (--no-boundary, --grid).
    const char* Option;
    // The option's line in the usage; "\n" starts a line of its own.
    const char* Help;
    // The object name of its control: in the Preferences dialog's form, or
    // the Curve menu's item in the main window's form.
    const char* Widget;
    TControlPlace Place = TControlPlace::PreferencesDialog;
    // What its control shows (a check box's or menu item's text, a group's
    // title, a colour button's tool tip), which the help names it by.
    const char* Caption;
};

inline constexpr TDrawingSetting DrawingSettingsTable[] = {
    {.Field = &TDrawingSettings::BackgroundColor, .Key = "BackgroundColor", .Option = "background",
     .Help = "the picture's background, or none (PNG,\nSVG and PDF)", .Widget = "BackBtn", .Caption = "Background"},
    {.Field = &TDrawingSettings::AxisColor, .Key = "AxisColor", .Option = "axis",
     .Help = "the frame, the axes and the ticks", .Widget = "AxesBtn", .Caption = "Axes"},
    {.Field = &TDrawingSettings::GoodPointColor, .Key = "GoodPointColor", .Option = "good",
     .Help = "the curve where the formula is defined, the title\nand the labels", .Widget = "GoodBtn",
     .Caption = "Data points"},
    {.Field = &TDrawingSettings::BadPointColor, .Key = "BadPointColor", .Option = "bad",
     .Help = "the curve where it is undefined", .Widget = "BadBtn", .Caption = "Undefined Point"},
    {.Field = &TDrawingSettings::LineWidth, .Key = "LineWidth", .Min = 1, .Max = 50, .Option = "line-width",
     .Help = "the curve's width in pixels", .Widget = "WidthGroup", .Caption = "Line Width"},
    {.Field = &TDrawingSettings::Boundary, .Key = "Boundary", .Option = "no-boundary",
     .Help = "leave out the plot area's outline", .Widget = "BoundaryItem", .Caption = "Draw Boundary"},
    {.Field = &TDrawingSettings::Ticks, .Key = "Ticks", .Option = "no-ticks",
     .Help = "leave out the ticks and their labels", .Widget = "TicksItem", .Caption = "Draw tickmarks on axes"},
    {.Field = &TDrawingSettings::Grid, .Key = "Grid", .Writing = TKeyWriting::OnceUsed, .Option = "grid",
     .Help = "light lines across the plot area at the labelled\nticks", .Widget = "GridItem", .Caption = "Grid"},
    {.Field = &TDrawingSettings::FitY, .Key = "FitY", .Writing = TKeyWriting::OnceUsed, .Option = "fit-y",
     .Help = "fit the y extent to the curve's lowest and highest\nvalues (Cartesian), not 1:1 around y = 0",
     .Widget = "FitYItem", .Place = TControlPlace::CurveMenu, .Caption = "Fit y to the curve"},
    {.Field = &TDrawingSettings::ScaleOnFrame, .Key = "ScaleOnFrame", .Writing = TKeyWriting::OnceUsed,
     .Option = "scale-on-frame",
     .Help = "an axis out of view has its ticks and labels along\nthe plot area's bottom or left edge",
     .Widget = "ScaleOnFrameItem", .Place = TControlPlace::CurveMenu, .Caption = "Scale on the frame"},
};

// The grid's colour: a third of the way from the background to the axes'
// colour, so that it stays lighter than the axes on a light background and
// darker on a dark one, and reads on both.
constexpr TColor GridColor(const TDrawingSettings& settings)
{
    constexpr std::uint32_t AxisShare = 1, Parts = 3;
    TColor mixed = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t back = settings.BackgroundColor >> shift & 0xFF;
        const std::uint32_t axis = settings.AxisColor >> shift & 0xFF;
        mixed |= ((back * (Parts - AxisShare) + axis * AxisShare + Parts / 2) / Parts) << shift;
    }
    return mixed;
}
