// The integer reading of settings values (see IniInteger.h).
#include "numeric/IniInteger.h"

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// One or more hexadecimal digits and nothing else, at most 32 bits of value
// (leading zeros do not count against the limit).
std::optional<std::int32_t> ParseHex(std::string_view digits)
{
    if (digits.empty())
        return std::nullopt;
    std::uint32_t value = 0;
    for (char c : digits) {
        int d = HexDigit(c);
        if (d < 0 || value > 0x0FFFFFFFu)
            return std::nullopt;
        value = value * 16 + static_cast<std::uint32_t>(d);
    }
    return static_cast<std::int32_t>(value);
}

// One or more decimal digits and nothing else, within the signed range.
std::optional<std::int32_t> ParseDecimal(std::string_view digits, bool negative)
{
    if (digits.empty())
        return std::nullopt;
    // Accumulated as a magnitude: −2147483648 has no positive counterpart.
    const std::uint32_t limit = negative ? 2147483648u : 2147483647u;
    std::uint32_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        std::uint32_t d = static_cast<std::uint32_t>(c - '0');
        if (value > (limit - d) / 10)
            return std::nullopt;
        value = value * 10 + d;
    }
    return negative ? static_cast<std::int32_t>(0u - value) : static_cast<std::int32_t>(value);
}

bool StartsWithZeroX(std::string_view s)
{
    return s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X');
}

} // namespace

std::optional<std::int32_t> ParseIniInteger(std::string_view text)
{
    if (text.size() > 2 && StartsWithZeroX(text))
        return ParseHex(text.substr(2));

    std::size_t i = text.find_first_not_of(' ');
    if (i == std::string_view::npos)
        return std::nullopt;
    std::string_view rest = text.substr(i);
    if (StartsWithZeroX(rest))
        return ParseHex(rest.substr(2));
    switch (rest[0]) {
    case '$':
    case 'x':
    case 'X':
        return ParseHex(rest.substr(1));
    case '-':
        return ParseDecimal(rest.substr(1), true);
    case '+':
        return ParseDecimal(rest.substr(1), false);
    default:
        return ParseDecimal(rest, false);
    }
}
