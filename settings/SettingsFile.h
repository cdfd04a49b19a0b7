// The settings Orvalis keeps from one run to the next: the record, its
// defaults, the file it lives in and the order and spelling of its keys.
#pragma once

#include "plot/core/CurveSound.h"
#include "plot/core/DrawingSettings.h"
#include "settings/IniFile.h"

#include <cstdint>
#include <string>

// The values of section "Main", with their defaults. Colours pass through
// as the 32-bit integers the file holds (their bit pattern), as do the
// drawing settings' whole numbers; only Z is limited on the way in.
struct TSettings {
    std::string YFormula = "sin(x)";
    std::string XLow = "-10";
    std::string Xhigh = "10";
    // In the file in the order of DrawingSettingsTable, after Xhigh.
    TDrawingSettings Drawing;
    std::int32_t Z = 300; // the z track bar's position, 0 to 1000
    bool Cartesian = true;
    // The curve's trace, kept once it has been turned on.
    bool Trace = false;
    // How long the window plays the curve as sound, in whole seconds.
    std::int32_t SoundSeconds = DefaultSoundSeconds;

    bool operator==(const TSettings&) const = default;
};

inline constexpr char SettingsSection[] = "Main";
inline constexpr std::int32_t MinZPosition = 0;
inline constexpr std::int32_t MaxZPosition = 1000;

// Every key, from one reading of the file; a missing or unreadable value
// gives its default. Z is kept within the track bar's
// range, as the track bar would keep it once set, and SoundSeconds within
// MinSoundSeconds..MaxSoundSeconds.
TSettings ReadSettings(const TIniFile& file);

// Every key in the file's order, the file read once and replaced once; a
// setting added later is written only once it is used or already in the
// file. A refused write raises EIniWriteError and leaves the old file whole.
void WriteSettings(TIniFile& file, const TSettings& settings);

// The settings file of the executable: its full path (a relative one taken
// from the current folder) with the extension, the file name's part from its
// last "." on, replaced by ".INI"; a name without one gets ".INI" appended.
std::string SettingsFileName(const std::string& executablePath);
