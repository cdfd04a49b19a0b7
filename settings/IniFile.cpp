// TIniText reads through FindIniValue and writes through SetIniValue;
// TIniFile applies them to the file's current bytes, replacing it atomically.
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

std::string TIniText::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const
{
    const std::optional<std::string_view> value = FindIniValue(Bytes_, section, key);
    const std::string_view result = value ? *value : WithoutTrailingBlanks(defaultValue);
    return std::string(result.substr(0, MaxValueLength));
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
    FileBytes file = ReadFileBytes(FileName_);
    return TIniText(file.State == FileState::Read ? std::move(file.Bytes) : std::string());
}

void TIniFile::Update(const std::function<void(TIniText&)>& change)
{
    FileBytes file = ReadFileBytes(FileName_);
    if (file.State == FileState::Unreadable)
        throw EIniWriteError(FileName_);
    TIniText text(std::move(file.Bytes));
    change(text);
    if (!ReplaceFileBytes(FileName_, text.Bytes()))
        throw EIniWriteError(FileName_);
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const
{
    return Read().ReadString(section, key, defaultValue);
}

std::int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key,
                                   std::int32_t defaultValue) const
{
    return Read().ReadInteger(section, key, defaultValue);
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const
{
    return Read().ReadBool(section, key, defaultValue);
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    Update([&](TIniText& text) { text.WriteString(section, key, value); });
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value)
{
    Update([&](TIniText& text) { text.WriteInteger(section, key, value); });
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value)
{
    Update([&](TIniText& text) { text.WriteBool(section, key, value); });
}
