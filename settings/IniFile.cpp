// TIniFile: reads go through FindIniValue on the file's current bytes,
// writes through SetIniValue and an atomic replacement of the file.
#include "settings/IniFile.h"

#include "settings/IniInteger.h"
#include "settings/IniText.h"
#include "settings/SafeFile.h"

namespace {

constexpr std::size_t MaxValueLength = IniValueBufferSize - 1;

std::string_view WithoutTrailingBlanks(std::string_view s)
{
    std::size_t last = s.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view() : s.substr(0, last + 1);
}

} // namespace

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const
{
    FileBytes file = ReadFileBytes(FileName_);
    std::optional<std::string_view> value;
    if (file.State == FileState::Read)
        value = FindIniValue(file.Bytes, section, key);
    std::string_view result = value ? *value : WithoutTrailingBlanks(defaultValue);
    return std::string(result.substr(0, MaxValueLength));
}

std::int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key,
                                   std::int32_t defaultValue) const
{
    return ParseIniInteger(ReadString(section, key, "")).value_or(defaultValue);
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    FileBytes file = ReadFileBytes(FileName_);
    // A file that exists but could not be read is not overwritten: its
    // content would be lost.
    if (file.State == FileState::Unreadable)
        throw EIniWriteError(FileName_);
    if (!ReplaceFileBytes(FileName_, SetIniValue(file.Bytes, section, key, value)))
        throw EIniWriteError(FileName_);
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value)
{
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}
