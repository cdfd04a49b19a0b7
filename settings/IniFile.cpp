// TIniText reads through FindIniValue and writes through SetIniValue;
// TIniFile applies them to the file's current bytes, replacing it all or
// nothing through the file writer.
#include "settings/IniFile.h"

#include "files/SafeFile.h"
#include "numeric/IniInteger.h"
#include "settings/IniText.h"

namespace {

std::string_view WithoutTrailingBlanks(std::string_view s)
{
    std::size_t last = s.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view() : s.substr(0, last + 1);
}

} // namespace

std::string TIniText::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const
{
    const std::optional<std::string_view> value = FindIniValue(Bytes_, section, key);
    return std::string(value ? *value : WithoutTrailingBlanks(defaultValue));
}

std::int32_t TIniText::ReadInteger(std::string_view section, std::string_view key,
                                   std::int32_t defaultValue) const
{
    return ParseIniInteger(ReadString(section, key, "")).value_or(defaultValue);
}

bool TIniText::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TIniText::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    Bytes_ = SetIniValue(Bytes_, section, key, value);
}

void TIniText::WriteInteger(std::string_view section, std::string_view key, std::int32_t value)
{
    WriteString(section, key, std::to_string(value));
}

void TIniText::WriteBool(std::string_view section, std::string_view key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

TIniText TIniFile::Read() const
{
    FileBytes file = ReadFileBytes(FileName_, MaxSettingsFileSize);
    return TIniText(file.State == FileState::Read ? std::move(file.Bytes) : std::string());
}

void TIniFile::Update(const std::function<void(TIniText&)>& change)
{
    FileBytes file = ReadFileBytes(FileName_, MaxSettingsFileSize);
    if (file.State == FileState::Unreadable)
        throw EIniWriteError(FileName_);
    TIniText text(std::move(file.Bytes));
    change(text);
    try {
        WriteFileBytes(FileName_, text.Bytes());
    } catch (const EFileWriteError&) {
        throw EIniWriteError(FileName_);
    }
}
