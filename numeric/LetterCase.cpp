// Letter case of names (the rule is in LetterCase.h).
#include "numeric/LetterCase.h"

namespace {

char UpperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (UpperAscii(a[i]) != UpperAscii(b[i]))
            return false;
    return true;
}

std::string UpperCase(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = UpperAscii(c);
    return result;
}
