// The legend's names and the colours of several curves on the command line.
#include "plot/cli/CurveOptions.h"

#include "plot/cli/ColourOption.h"

#include <iterator>

namespace {

const struct {
    const char* Name;
    TLegendPosition Position;
} LegendNames[] = {
    {"top-right", TLegendPosition::TopRight},       {"top-left", TLegendPosition::TopLeft},
    {"bottom-left", TLegendPosition::BottomLeft},   {"bottom-right", TLegendPosition::BottomRight},
    {"outside-right", TLegendPosition::OutsideRight}, {"none", TLegendPosition::None},
};

// 0x00BBGGRR of a colour written 0xRRGGBB.
constexpr TColor FromRgb(std::uint32_t rgb)
{
    return (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
}

constexpr TColor Palette[] = {FromRgb(0x000000), FromRgb(0xE69F00), FromRgb(0x56B4E9), FromRgb(0x009E73),
                              FromRgb(0xF0E442), FromRgb(0x0072B2), FromRgb(0xD55E00), FromRgb(0xCC79A7)};

std::vector<TColor> ReadColours(const char* option, const std::vector<std::string>& texts, std::size_t formulas)
{
    if (texts.size() > formulas)
        throw TUsageError(std::string("--") + option + " is given " + std::to_string(texts.size()) +
                          " times for " + std::to_string(formulas) + (formulas == 1 ? " formula" : " formulas") +
                          ": at most once per formula, in the formulas' order");
    std::vector<TColor> colours;
    for (const std::string& text : texts)
        colours.push_back(ParseColour(option, text));
    return colours;
}

}  // namespace

std::string LegendPositionNames()
{
    std::string text;
    for (std::size_t i = 0; i < std::size(LegendNames); ++i)
        text += std::string(i == 0 ? "" : i + 1 == std::size(LegendNames) ? " or " : ", ") + LegendNames[i].Name;
    return text;
}

TLegendPosition ReadLegendPosition(const std::string& text)
{
    for (const auto& row : LegendNames)
        if (text == row.Name)
            return row.Position;
    throw TUsageError("--legend takes " + LegendPositionNames() + ", not '" + text + "'");
}

void ApplyCurveColours(TRendererRequest& request, const std::vector<std::string>& good,
                       const std::vector<std::string>& bad)
{
    const std::size_t formulas = 1 + request.MoreFormulas.size();
    request.GoodColours = ReadColours("good", good, formulas);
    request.BadColours = ReadColours("bad", bad, formulas);
    if (!request.GoodColours.empty())
        request.Drawing.GoodPointColor = request.GoodColours.front();
    if (!request.BadColours.empty())
        request.Drawing.BadPointColor = request.BadColours.front();
}

TColor PaletteColour(std::size_t index)
{
    return Palette[index % std::size(Palette)];
}
