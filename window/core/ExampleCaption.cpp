// Splitting a caption into items and looking up a name among them.
#include "window/core/ExampleCaption.h"

#include <algorithm>
#include <cctype>

namespace {

bool IsBlankOrControl(char c)
{
    const auto code = static_cast<unsigned char>(c);
    return code >= 1 && code <= ' ';
}

std::size_t SkipBlanks(std::string_view text, std::size_t i)
{
    while (i < text.size() && IsBlankOrControl(text[i]))
        ++i;
    return i;
}

bool SameLetters(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::string WithoutSpacedEquals(std::string_view caption)
{
    std::string text;
    text.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption.compare(i, 3, " = ") == 0) {
            text += '=';
            i += 2;
        } else {
            text += caption[i];
        }
    }
    return text;
}

}  // namespace

std::vector<std::string> ExampleItems(std::string_view caption)
{
    const std::string text = WithoutSpacedEquals(caption);
    std::vector<std::string> items;
    std::size_t i = SkipBlanks(text, 0);
    while (i < text.size()) {
        std::string item;
        if (text[i] == '"') {
            // Quoted: up to the closing quote, "" standing for one quote.
            for (++i; i < text.size(); ++i) {
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"')
                        ++i;
                    else {
                        ++i;
                        break;
                    }
                }
                item += text[i];
            }
        } else {
            while (i < text.size() && text[i] != ',' && !IsBlankOrControl(text[i]))
                item += text[i++];
        }
        items.push_back(std::move(item));
        i = SkipBlanks(text, i);
        if (i < text.size() && text[i] == ',')
            i = SkipBlanks(text, i + 1);
    }
    return items;
}

std::string ExampleValue(const std::vector<std::string>& items, std::string_view name)
{
    for (const std::string& item : items) {
        const auto equals = item.find('=');
        if (equals != std::string::npos && SameLetters(std::string_view(item).substr(0, equals), name))
            return item.substr(equals + 1);
    }
    return {};
}
