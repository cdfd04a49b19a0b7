// Reading and writing the settings record, and the settings file's name.
#include "settings/SettingsFile.h"

#include <algorithm>
#include <cstdlib>

#include <unistd.h>

TSettings ReadSettings(const TIniFile& file)
{
    const TSettings defaults;
    const char* main = SettingsSection;
    TSettings s;
    s.YFormula = file.ReadString(main, "YFormula", defaults.YFormula);
    s.XLow = file.ReadString(main, "XLow", defaults.XLow);
    s.Xhigh = file.ReadString(main, "Xhigh", defaults.Xhigh);
    s.BackgroundColor = file.ReadInteger(main, "BackgroundColor", defaults.BackgroundColor);
    s.AxisColor = file.ReadInteger(main, "AxisColor", defaults.AxisColor);
    s.GoodPointColor = file.ReadInteger(main, "GoodPointColor", defaults.GoodPointColor);
    s.BadPointColor = file.ReadInteger(main, "BadPointColor", defaults.BadPointColor);
    s.LineWidth = file.ReadInteger(main, "LineWidth", defaults.LineWidth);
    s.Boundary = file.ReadBool(main, "Boundary", defaults.Boundary);
    s.Ticks = file.ReadBool(main, "Ticks", defaults.Ticks);
    s.Z = std::clamp(file.ReadInteger(main, "Z", defaults.Z), MinZPosition, MaxZPosition);
    s.Cartesian = file.ReadBool(main, "Cartesian", defaults.Cartesian);
    return s;
}

void WriteSettings(TIniFile& file, const TSettings& s)
{
    const char* main = SettingsSection;
    file.WriteString(main, "YFormula", s.YFormula);
    file.WriteString(main, "XLow", s.XLow);
    file.WriteString(main, "Xhigh", s.Xhigh);
    file.WriteInteger(main, "BackgroundColor", s.BackgroundColor);
    file.WriteInteger(main, "AxisColor", s.AxisColor);
    file.WriteInteger(main, "GoodPointColor", s.GoodPointColor);
    file.WriteInteger(main, "BadPointColor", s.BadPointColor);
    file.WriteInteger(main, "LineWidth", s.LineWidth);
    file.WriteBool(main, "Boundary", s.Boundary);
    file.WriteBool(main, "Ticks", s.Ticks);
    file.WriteInteger(main, "Z", s.Z);
    file.WriteBool(main, "Cartesian", s.Cartesian);
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
