// Finding and setting values in INI text (the rules are in IniText.h).
#include "settings/IniText.h"

#include "numeric/LetterCase.h"

#include <cstddef>

namespace {

constexpr std::string_view Blanks = " \t\r\v\f\x1a";

std::string_view Trim(std::string_view s)
{
    std::size_t first = s.find_first_not_of(Blanks);
    if (first == std::string_view::npos)
        return {};
    std::size_t last = s.find_last_not_of(Blanks);
    return s.substr(first, last - first + 1);
}

struct Line {
    std::size_t Begin = 0;   // offset of the first byte
    std::size_t End = 0;     // offset after the LF, or the text's size
    bool Terminated = false; // ends with LF
    std::string_view Content; // trimmed, without the line end
};

class LineReader {
public:
    // A byte order mark some editors put in front is not part of the first line.
    explicit LineReader(std::string_view text)
        : Text_(text), Pos_(text.starts_with("\xef\xbb\xbf") ? 3 : 0) {}

    bool Next(Line& line)
    {
        if (Pos_ >= Text_.size())
            return false;
        std::size_t lf = Text_.find('\n', Pos_);
        std::size_t stop = lf == std::string_view::npos ? Text_.size() : lf;
        line.Begin = Pos_;
        line.Terminated = lf != std::string_view::npos;
        line.End = line.Terminated ? lf + 1 : stop;
        line.Content = Trim(Text_.substr(Pos_, stop - Pos_));
        Pos_ = line.End;
        return true;
    }

private:
    std::string_view Text_;
    std::size_t Pos_;
};

std::optional<std::string_view> SectionName(std::string_view content)
{
    if (content.empty() || content[0] != '[')
        return std::nullopt;
    std::size_t close = content.rfind(']');
    if (close == std::string_view::npos || close == 0)
        return std::nullopt;
    return Trim(content.substr(1, close - 1));
}

struct KeyEntry {
    std::string_view Name;
    std::string_view RawValue; // after "=", untrimmed
};

std::optional<KeyEntry> KeyOf(std::string_view content)
{
    if (content.empty() || content[0] == ';')
        return std::nullopt;
    std::size_t eq = content.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    return KeyEntry{Trim(content.substr(0, eq)), content.substr(eq + 1)};
}

// Where a key stands in the text, or where it would go.
struct Location {
    bool SectionFound = false;
    bool KeyFound = false;
    Line EntryLine;               // the key's line, when found
    KeyEntry Entry;               // its name and value, when found
    std::size_t InsertAt = 0;     // after the section's last non-blank line
    bool InsertTerminated = true; // that line ends with LF
};

Location Locate(std::string_view text, std::string_view section, std::string_view key)
{
    Location where;
    LineReader reader(text);
    Line line;
    while (reader.Next(line)) {
        if (auto name = SectionName(line.Content)) {
            if (where.SectionFound)
                break; // the end of the first section of that name
            if (EqualNoCase(*name, section)) {
                where.SectionFound = true;
                where.InsertAt = line.End;
                where.InsertTerminated = line.Terminated;
            }
            continue;
        }
        if (!where.SectionFound || line.Content.empty())
            continue;
        where.InsertAt = line.End;
        where.InsertTerminated = line.Terminated;
        if (auto found = KeyOf(line.Content); found && EqualNoCase(found->Name, key)) {
            where.KeyFound = true;
            where.EntryLine = line;
            where.Entry = *found;
            break;
        }
    }
    return where;
}

} // namespace

std::optional<std::string_view> FindIniValue(std::string_view text, std::string_view section,
                                             std::string_view key)
{
    Location where = Locate(text, section, key);
    if (!where.KeyFound)
        return std::nullopt;
    std::string_view value = where.Entry.RawValue;
    value = Trim(value.substr(0, value.find('\0')));
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        value = value.substr(1, value.size() - 2);
    return value;
}

std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value)
{
    value = value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3)));
    Location where = Locate(text, section, key);

    std::string result;
    result.reserve(text.size() + section.size() + key.size() + value.size() + 8);
    if (where.KeyFound) {
        result.append(text.substr(0, where.EntryLine.Begin));
        result.append(where.Entry.Name).append("=").append(value).append("\n");
        result.append(text.substr(where.EntryLine.End));
    } else if (where.SectionFound) {
        result.append(text.substr(0, where.InsertAt));
        if (!where.InsertTerminated)
            result.append("\n");
        result.append(key).append("=").append(value).append("\n");
        result.append(text.substr(where.InsertAt));
    } else {
        result.append(text);
        if (!text.empty() && text.back() != '\n')
            result.append("\n");
        result.append("[").append(section).append("]\n");
        result.append(key).append("=").append(value).append("\n");
    }
    return result;
}
