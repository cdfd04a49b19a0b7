// The pieces the renderer's usage and messages are written with.
#include "plot/cli/CommandLineText.h"

#include <QString>

#include <algorithm>

std::string Quoted(std::string_view text)
{
    return "'" + std::string(text) + "'";
}

// "a, b or c".
std::string Listed(const std::vector<std::string>& items, const char* last)
{
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i)
        text += (i == 0 ? "" : i + 1 == items.size() ? std::string(" ") + last + " " : std::string(", ")) + items[i];
    return text;
}

// "PNG" for the row named "png".
std::string UpperName(const TOutputFormatRow& row)
{
    return QString::fromLatin1(row.Name).toUpper().toStdString();
}

// Breaks `text` into lines of at most `width` characters between words.
std::string Wrapped(const std::string& text, std::size_t width)
{
    std::string out;
    std::size_t lineStart = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find(' ', at), text.size());
        if (end - lineStart > width && at > lineStart) {
            out.back() = '\n';
            lineStart = at;
        }
        out += text.substr(at, end - at + 1);
        at = end + 1;
    }
    std::replace(out.begin(), out.end(), NoBreak, ' ');
    return out;
}
