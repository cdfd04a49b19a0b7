// Reading and writing the settings record, and the settings file's name.
#include "settings/SettingsFile.h"

#include "settings/IniText.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <variant>
#include <vector>

#include <unistd.h>

namespace {

// A field of the record; its type is the type of the value in the file: a
// text, a 32-bit integer, a colour (the integer's bit pattern) or a flag.
using TSettingField = std::variant<std::string*, std::int32_t*, TColor*, bool*>;

// One key of section "Main": its name, the field it fills (whose value in a
// default TSettings is its default), the limits a value read is kept in and
// when it is written. A drawing setting's key comes from its row.
struct TSettingsKey {
    const char* Name;
    TSettingField (*Field)(TSettings&) = nullptr;
    std::int32_t Min = std::numeric_limits<std::int32_t>::min();
    std::int32_t Max = std::numeric_limits<std::int32_t>::max();
    const TDrawingSetting* Drawing = nullptr;
    TKeyWriting Writing = TKeyWriting::Always;
};

// The keys in the file's order: the formula and the x range, the drawing
// settings, then z and the mode, the trace and the sound's length.
const std::vector<TSettingsKey>& SettingsKeys()
{
    static const std::vector<TSettingsKey> keys = [] {
        std::vector<TSettingsKey> all = {
            {"YFormula", [](TSettings& s) -> TSettingField { return &s.YFormula; }},
            {"XLow", [](TSettings& s) -> TSettingField { return &s.XLow; }},
            {"Xhigh", [](TSettings& s) -> TSettingField { return &s.Xhigh; }},
        };
        for (const TDrawingSetting& setting : DrawingSettingsTable)
            all.push_back({.Name = setting.Key, .Drawing = &setting});
        all.push_back({"Z", [](TSettings& s) -> TSettingField { return &s.Z; }, MinZPosition, MaxZPosition});
        all.push_back({"Cartesian", [](TSettings& s) -> TSettingField { return &s.Cartesian; }});
        all.push_back({.Name = "Trace",
                       .Field = [](TSettings& s) -> TSettingField { return &s.Trace; },
                       .Writing = TKeyWriting::OnceUsed});
        all.push_back({.Name = "SoundSeconds",
                       .Field = [](TSettings& s) -> TSettingField { return &s.SoundSeconds; },
                       .Min = MinSoundSeconds,
                       .Max = MaxSoundSeconds,
                       .Writing = TKeyWriting::OnceUsed});
        return all;
    }();
    return keys;
}

TSettingField FieldOf(const TSettingsKey& key, TSettings& s)
{
    if (!key.Drawing)
        return key.Field(s);
    return std::visit([&](auto member) -> TSettingField { return &(s.Drawing.*member); }, key.Drawing->Field);
}

// A key written only once it matters goes into the file when its value is
// not the default or the file already has it.
bool Written(const TSettingsKey& key, TSettings& s, const TIniText& text)
{
    if ((key.Drawing ? key.Drawing->Writing : key.Writing) == TKeyWriting::Always)
        return true;
    TSettings defaults;
    const bool isDefault = std::visit(
        [&](auto* value) { return *value == *std::get<decltype(value)>(FieldOf(key, defaults)); }, FieldOf(key, s));
    return !isDefault || FindIniValue(text.Bytes(), SettingsSection, key.Name).has_value();
}

// One visitor made of a lambda for each type of field.
template <class... Ts>
struct TOverloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
TOverloaded(Ts...) -> TOverloaded<Ts...>;

}  // namespace

TSettings ReadSettings(const TIniFile& file)
{
    const TIniText text = file.Read();
    TSettings s;
    for (const TSettingsKey& key : SettingsKeys()) {
        // Each field holds its default until the key is read.
        std::visit(TOverloaded{
                       [&](std::string* v) { *v = text.ReadString(SettingsSection, key.Name, *v); },
                       [&](std::int32_t* v) {
                           *v = std::clamp(text.ReadInteger(SettingsSection, key.Name, *v), key.Min, key.Max);
                       },
                       [&](TColor* v) {
                           *v = static_cast<TColor>(
                               text.ReadInteger(SettingsSection, key.Name, static_cast<std::int32_t>(*v)));
                       },
                       [&](bool* v) { *v = text.ReadBool(SettingsSection, key.Name, *v); },
                   },
                   FieldOf(key, s));
    }
    return s;
}

void WriteSettings(TIniFile& file, const TSettings& settings)
{
    TSettings s = settings;
    file.Update([&](TIniText& text) {
        for (const TSettingsKey& key : SettingsKeys()) {
            if (!Written(key, s, text))
                continue;
            std::visit(TOverloaded{
                           [&](std::string* v) { text.WriteString(SettingsSection, key.Name, *v); },
                           [&](std::int32_t* v) { text.WriteInteger(SettingsSection, key.Name, *v); },
                           [&](TColor* v) {
                               text.WriteInteger(SettingsSection, key.Name, static_cast<std::int32_t>(*v));
                           },
                           [&](bool* v) { text.WriteBool(SettingsSection, key.Name, *v); },
                       },
                       FieldOf(key, s));
        }
    });
}

std::string SettingsFileName(const std::string& executablePath)
{
    std::string path = executablePath;
    if (path.empty() || path[0] != '/') {
        std::string folder;
        if (char* cwd = ::getcwd(nullptr, 0)) {
            folder = cwd;
            std::free(cwd);
        }
        if (folder.empty() || folder.back() != '/')
            folder += '/';
        path = folder + path;
    }
    std::size_t nameStart = path.rfind('/') + 1;
    std::size_t dot = path.rfind('.');
    if (dot != std::string::npos && dot >= nameStart)
        path.erase(dot);
    return path + ".INI";
}
