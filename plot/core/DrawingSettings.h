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

    bool operator==(const TDrawingSettings&) const = default;
};

// A field of the record by its kind: a colour, a whole number or a flag.
using TDrawingField = std::variant<TColor TDrawingSettings::*, std::int32_t TDrawingSettings::*,
                                   bool TDrawingSettings::*>;

// When a key goes into the settings file: always, or only once it matters,
// so that the files of users who never turn a later setting on stay as they
// were (older files lack its key).
enum class TKeyWriting { Always, OnceUsed };

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
    // The object name of its control in the Preferences dialog's form.
    const char* Widget;
    // What the dialog shows for it (a check box's text, a group's title, a
    // colour button's tool tip), which the help names it by.
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
