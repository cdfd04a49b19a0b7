// The settings file of the running program, with the per-user fallback of
// an installed copy.
#pragma once

#include <string>

// LocateSettingsFile for `executablePath` with "Orvalis.INI" in the user's
// configuration folder for this application (Qt's AppConfigLocation, so the
// application name must be set first) as the per-user file.
std::string ProgramSettingsFile(const std::string& executablePath);
