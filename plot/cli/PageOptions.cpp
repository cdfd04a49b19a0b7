// Sizes in physical units, resolutions, text sizes, transparency and
// smoothing: read from the renderer's words, checked against the output's
// format and turned into what the plot draws on.
#include "plot/cli/PageOptions.h"

#include "plot/cli/CommandLineText.h"
#include "plot/cli/RendererOptions.h"

#include "numeric/IniInteger.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr double MmPerInch = 25.4;

// The units a side may carry, in millimetres each.
const struct {
    const char* Name;
    double Millimetres;
} Units[] = {{"mm", 1.0}, {"cm", 10.0}, {"in", MmPerInch}, {"pt", MmPerInch / 72.0}};

// A plain decimal number, digits with at most one point, as a length is
// written on paper; nothing for anything else.
std::optional<double> PlainDecimal(std::string_view text)
{
    const bool digitsAndPoint = !text.empty() && std::count(text.begin(), text.end(), '.') <= 1 &&
                                std::all_of(text.begin(), text.end(), [](char c) { return c == '.' || (c >= '0' && c <= '9'); }) &&
                                text != ".";
    if (!digitsAndPoint || text.size() > 12)
        return std::nullopt;
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

std::optional<TPhysicalLength> PhysicalSide(std::string_view side)
{
    for (const auto& unit : Units) {
        const std::string_view name = unit.Name;
        if (side.size() > name.size() && side.ends_with(name))
            if (const std::optional<double> number = PlainDecimal(side.substr(0, side.size() - name.size())))
                return TPhysicalLength{*number * unit.Millimetres, std::string(side)};
    }
    return std::nullopt;
}

std::int32_t Pixels(double millimetres, int perInch)
{
    return static_cast<std::int32_t>(std::lround(millimetres / MmPerInch * perInch));
}

std::string SizeText(const TRendererRequest& request)
{
    if (request.PhysicalSize)
        return request.PhysicalSize->Width.Text + "x" + request.PhysicalSize->Height.Text;
    return std::to_string(request.Size.Width) + "x" + std::to_string(request.Size.Height);
}

}  // namespace

void ApplySizeOption(TRendererRequest& request, const std::string& text)
{
    const std::size_t by = text.find('x');
    const bool hasUnit = std::any_of(text.begin(), text.end(), [](char c) { return c >= 'a' && c <= 'z' && c != 'x'; });
    if (!hasUnit || by == std::string::npos) {
        request.Size = ReadPixelSize(text);
        request.PhysicalSize.reset();
        return;
    }
    const std::optional<TPhysicalLength> width = PhysicalSide(std::string_view(text).substr(0, by));
    const std::optional<TPhysicalLength> height = PhysicalSide(std::string_view(text).substr(by + 1));
    if (!width || !height)
        throw TUsageError("--size takes WxH in pixels, or both sides with a unit, mm, cm, in or pt (90mmx60mm), not " +
                          Quoted(text));
    if (width->Millimetres < MinSideMm || height->Millimetres < MinSideMm)
        throw TUsageError("--size takes sides of at least 10mm, not " + Quoted(text));
    request.PhysicalSize = TPhysicalSize{*width, *height};
}

int ReadDotsPerInch(const std::string& text)
{
    const std::optional<std::int32_t> value = ParseIniInteger(text);
    if (!value || *value < MinDotsPerInch || *value > MaxDotsPerInch)
        throw TUsageError("--dpi takes an integer from " + std::to_string(MinDotsPerInch) + " to " +
                          std::to_string(MaxDotsPerInch) + ", not " + Quoted(text));
    return *value;
}

double ReadFontPoints(const std::string& text)
{
    const std::optional<double> value = PlainDecimal(text);
    if (!value || *value < MinFontPoints || *value > MaxFontPoints)
        throw TUsageError("--font-size takes points from 4 to 72, not " + Quoted(text));
    return *value;
}

TPictureSize ReadPixelSize(const std::string& text)
{
    const std::string rule = "--size takes WxH, each at least " + std::to_string(MinPictureSide) + ", not " + Quoted(text);
    const std::size_t by = text.find('x');
    if (by == std::string::npos)
        throw TUsageError(rule);
    const auto side = [&](std::string_view digits) {
        if (digits.empty() || digits.size() > 9 ||
            !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            throw TUsageError(rule);
        const std::int32_t value = std::stoi(std::string(digits));
        if (value < MinPictureSide)
            throw TUsageError(rule);
        return value;
    };
    return {side(std::string_view(text).substr(0, by)), side(std::string_view(text).substr(by + 1))};
}

TRendererPage RendererPage(const TRendererRequest& request, TOutputFormat format)
{
    TRendererPage page;
    const bool raster = OutputFormatRow(format).Raster;
    const int dpi = request.DotsPerInch.value_or(DefaultDotsPerInch);
    TPageLook& look = page.Look;
    if (request.PhysicalSize) {
        const TPhysicalSize& size = *request.PhysicalSize;
        page.Drawing = {Pixels(size.Width.Millimetres, PageDotsPerInch), Pixels(size.Height.Millimetres, PageDotsPerInch)};
        page.Pixels = raster ? TPictureSize{Pixels(size.Width.Millimetres, dpi), Pixels(size.Height.Millimetres, dpi)}
                             : page.Drawing;
        if (!raster) {
            look.WidthMm = size.Width.Millimetres;
            look.HeightMm = size.Height.Millimetres;
            look.WidthText = size.Width.Text;
            look.HeightText = size.Height.Text;
        }
    } else {
        // Pixels given at another resolution are that many inches of the drawing.
        page.Pixels = request.Size;
        page.Drawing = raster && dpi != DefaultDotsPerInch
                           ? TPictureSize{static_cast<std::int32_t>(std::lround(request.Size.Width * double(PageDotsPerInch) / dpi)),
                                          static_cast<std::int32_t>(std::lround(request.Size.Height * double(PageDotsPerInch) / dpi))}
                           : request.Size;
    }
    if (raster && (request.DotsPerInch || request.PhysicalSize)) {
        look.DotsPerInch = dpi;
        if (dpi != DefaultDotsPerInch)
            look.DevicePixels = page.Pixels;
    }
    if (request.Transparent)
        look.Transparent = request.Drawing.BackgroundColor;
    look.Antialias = request.Antialias;
    look.Standalone = request.Standalone;
    if (request.FontPoints)
        look.TextScale = *request.FontPoints / DefaultFontPoints;
    return page;
}

void CheckRendererPage(const TRendererRequest& request, TOutputFormat format)
{
    const TRendererPage page = RendererPage(request, format);
    if (page.Drawing.Width < MinPictureSide || page.Drawing.Height < MinPictureSide) {
        char smallest[16];
        std::snprintf(smallest, sizeof smallest, "%.1fmm", MinPictureSide * MmPerInch / PageDotsPerInch);
        throw TUsageError("--size " + SizeText(request) + " draws " + std::to_string(page.Drawing.Width) + "x" +
                          std::to_string(page.Drawing.Height) + " pixels at 96 per inch, and a plot needs at least " +
                          std::to_string(MinPictureSide) + "x" + std::to_string(MinPictureSide) + " (" + smallest +
                          " a side)");
    }
    const TOutputFormatRow& row = OutputFormatRow(format);
    if (request.Transparent && !row.Transparency) {
        std::vector<std::string> can;
        for (const TOutputFormatRow& each : OutputFormats())
            if (each.Transparency)
                can.push_back(UpperName(each));
        throw TUsageError("--background none is for " + Listed(can, "and") + ", which have a transparent background; " +
                          UpperName(row) + " has none");
    }
}

