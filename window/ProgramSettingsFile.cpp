// The Qt side of the settings file's location: the user's configuration folder.
#include "window/ProgramSettingsFile.h"

#include "settings/SettingsLocation.h"

#include <QStandardPaths>

std::string ProgramSettingsFile(const std::string& executablePath)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    const std::string perUserFile = folder.isEmpty() ? std::string() : (folder + QStringLiteral("/Orvalis.INI")).toStdString();
    return LocateSettingsFile(executablePath, perUserFile);
}
