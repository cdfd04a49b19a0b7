// Reading and writing the settings record, and the settings file's name.
#include "settings/SettingsFile.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <variant>

#include <unistd.h>

namespace {

// A field of the record; its type is the type of the value in the file: a
// text, a 32-bit integer, a colour (the integer's bit pattern) or a flag.
using TSettingField = std::variant<std::string*, std::int32_t*, TColor*, bool*>;

// One key of section "Main": its name, the field it fills (whose value in a
// default TSettings is its default) and the limits a value read is kept in.
struct TSettingsKey {
    const char* Name;
    TSettingField (*Field)(TSettings&);
    std::int32_t Min = std::numeric_limits<std::int32_t>::min();
    std::int32_t Max = std::numeric_limits<std::int32_t>::max();
};

const TSettingsKey SettingsKeys[] = {
    {"YFormula", [](TSettings& s) -> TSettingField { return &s.YFormula; }},
    {"XLow", [](TSettings& s) -> TSettingField { return &s.XLow; }},
    {"Xhigh", [](TSettings& s) -> TSettingField { return &s.Xhigh; }},
    {"BackgroundColor", [](TSettings& s) -> TSettingField { return &s.Drawing.BackgroundColor; }},
    {"AxisColor", [](TSettings& s) -> TSettingField { return &s.Drawing.AxisColor; }},
    {"GoodPointColor", [](TSettings& s) -> TSettingField { return &s.Drawing.GoodPointColor; }},
    {"BadPointColor", [](TSettings& s) -> TSettingField { return &s.Drawing.BadPointColor; }},
    {"LineWidth", [](TSettings& s) -> TSettingField { return &s.Drawing.LineWidth; }},
    {"Boundary", [](TSettings& s) -> TSettingField { return &s.Drawing.Boundary; }},
    {"Ticks", [](TSettings& s) -> TSettingField { return &s.Drawing.Ticks; }},
    {"Z", [](TSettings& s) -> TSettingField { return &s.Z; }, MinZPosition, MaxZPosition},
    {"Cartesian", [](TSettings& s) -> TSettingField { return &s.Cartesian; }},
};

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
    for (const TSettingsKey& key : SettingsKeys) {
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
                   key.Field(s));
    }
    return s;
}

void WriteSettings(TIniFile& file, const TSettings& settings)
{
    TSettings s = settings;
    file.Update([&](TIniText& text) {
        for (const TSettingsKey& key : SettingsKeys) {
            std::visit(TOverloaded{
                           [&](std::string* v) { text.WriteString(SettingsSection, key.Name, *v); },
                           [&](std::int32_t* v) { text.WriteInteger(SettingsSection, key.Name, *v); },
                           [&](TColor* v) {
                               text.WriteInteger(SettingsSection, key.Name, static_cast<std::int32_t>(*v));
                           },
                           [&](bool* v) { text.WriteBool(SettingsSection, key.Name, *v); },
                       },
                       key.Field(s));
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
