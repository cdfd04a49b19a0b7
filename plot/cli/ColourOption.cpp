// The colours of orvalis-plot's options as users write them: red-green-blue
// by digits or by name, or the settings file's number behind a prefix.
#include "plot/cli/ColourOption.h"

#include "numeric/IniInteger.h"
#include "plot/cli/ColourNames.h"
#include "plot/cli/RendererOptions.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace {

std::string Quoted(std::string_view text)
{
    return "'" + std::string(text) + "'";
}

}  // namespace

std::string ColourText(TColor colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", colour & 0xFFu, (colour >> 8) & 0xFFu, (colour >> 16) & 0xFFu);
    return text;
}

TColor ParseColour(std::string_view option, std::string_view text)
{
    const std::string forms = "--" + std::string(option) +
                              " takes #RRGGBB, #RGB or a colour name such as red (red-green-blue), or bgr: and "
                              "the settings file's number 0x00BBGGRR";
    const auto rgb = [](unsigned red, unsigned green, unsigned blue) -> TColor {
        return red | green << 8 | blue << 16;
    };
    const auto hex = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
    if (text.starts_with("bgr:")) {
        if (const std::optional<std::int32_t> number = ParseIniInteger(text.substr(4)))
            return static_cast<TColor>(*number);
    } else if (text.starts_with('#') && (text.size() == 4 || text.size() == 7) &&
               std::all_of(text.begin() + 1, text.end(), hex)) {
        const unsigned value = static_cast<unsigned>(std::stoul(std::string(text.substr(1)), nullptr, 16));
        if (text.size() == 7)
            return rgb(value >> 16, (value >> 8) & 0xFF, value & 0xFF);
        return rgb((value >> 8) * 0x11, ((value >> 4) & 0xF) * 0x11, (value & 0xF) * 0x11);
    } else if (!text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
                   return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
               })) {
        if (const std::optional<std::uint32_t> named = FindNamedColour(text))
            return rgb(*named >> 16, (*named >> 8) & 0xFF, *named & 0xFF);
    } else if (const std::optional<std::int32_t> number = ParseIniInteger(text)) {
        throw TUsageError(forms + "; " + Quoted(text) + " is a number without bgr:, so write bgr:" +
                          std::string(text) + " for the settings file's colour (" +
                          ColourText(static_cast<TColor>(*number)) + "), or the colour as #RRGGBB");
    }
    throw TUsageError(forms + ", not " + Quoted(text));
}
