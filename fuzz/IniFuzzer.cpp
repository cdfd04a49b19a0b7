// Fuzz target: the settings file layer. Arbitrary file content reads as the
// defaults wherever a value is missing or unreadable; the settings and single
// keys written into any such file read back as written, other keys kept.
#include "numeric/IniInteger.h"
#include "settings/IniFile.h"
#include "settings/IniText.h"
#include "settings/SettingsFile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <type_traits>
#include <variant>

namespace {

[[noreturn]] void Report(const char* finding, const std::string& content)
{
    std::fprintf(stderr, "\n==== FUZZ FINDING: %s\n==== file content (%zu bytes): \"%.300s\"\n", finding,
                 content.size(), content.c_str());
    std::abort();
}

// One scratch file for the whole run, removed at exit.
const std::string& ScratchFile()
{
    static const std::string path = [] {
        const char* folder = std::getenv("TMPDIR");
        std::string pattern = std::string(folder ? folder : "/tmp") + "/orvalis-ini-fuzz-XXXXXX";
        const int fd = mkstemp(pattern.data());
        if (fd < 0)
            std::abort();
        close(fd);
        return pattern;
    }();
    static const bool removal = [] { return std::atexit([] { std::remove(path.c_str()); }) == 0; }();
    (void)removal;
    return path;
}

void WriteFile(const std::string& content)
{
    std::ofstream(ScratchFile(), std::ios::binary | std::ios::trunc) << content;
}

bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f' || c == '\x1A';
}

// A value the file can hold as it is: one line, no blanks at its ends, not
// enclosed in quotes that the reading would remove.
std::string Writable(std::string value)
{
    for (char& c : value)
        if (c == '\n' || c == '\r' || c == '\0')
            c = '_';
    while (!value.empty() && IsBlank(value.back()))
        value.pop_back();
    while (!value.empty() && IsBlank(value.front()))
        value.erase(0, 1);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value += '_';
    return value;
}

// A name the program could use: printable, no "=", "]", and no "[" or ";"
// that would make its line a section or a comment; never empty.
std::string Name(FuzzedDataProvider& data)
{
    std::string name = data.ConsumeRandomLengthString(12);
    std::string result;
    for (char c : name)
        if (c > ' ' && c < 127 && c != '=' && c != ']' && c != '[' && c != ';')
            result += c;
    return result.empty() ? "k" : result;
}

// Every key of section Main: its value, or its default where it is missing or no integer.
void CheckDefaults(const std::string& content, const TSettings& read)
{
    const TSettings d;
    auto text = [&](const char* key, const std::string& got, const std::string& fallback) {
        if (!FindIniValue(content, SettingsSection, key) && got != fallback)
            Report((std::string("a missing ") + key + " is not its default").c_str(), content);
    };
    auto integer = [&](const char* key, std::int32_t got, std::int32_t fallback) {
        const auto value = FindIniValue(content, SettingsSection, key);
        if ((!value || !ParseIniInteger(*value)) && got != fallback)
            Report((std::string("an unreadable ") + key + " is not its default").c_str(), content);
    };
    text("YFormula", read.YFormula, d.YFormula);
    text("XLow", read.XLow, d.XLow);
    text("Xhigh", read.Xhigh, d.Xhigh);
    for (const TDrawingSetting& setting : DrawingSettingsTable)
        std::visit([&](auto field) { integer(setting.Key, read.Drawing.*field, d.Drawing.*field); }, setting.Field);
    integer("Z", read.Z, d.Z);
    integer("Cartesian", read.Cartesian, d.Cartesian);
    if (read.Z < MinZPosition || read.Z > MaxZPosition)
        Report("Z read outside the track bar's range", content);
    integer("SoundSeconds", read.SoundSeconds, d.SoundSeconds);
    if (read.SoundSeconds < MinSoundSeconds || read.SoundSeconds > MaxSoundSeconds)
        Report("SoundSeconds read outside its limits", content);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider provider(data, size);
    const std::string content = provider.ConsumeRandomLengthString(1 << 16);

    // The text layer alone, with any names.
    const std::string anySection = provider.ConsumeRandomLengthString(16);
    const std::string anyKey = provider.ConsumeRandomLengthString(16);
    (void)FindIniValue(content, anySection, anyKey);

    // One key set in the text: it reads back, and a key elsewhere is kept.
    const std::string section = Name(provider), key = Name(provider), other = Name(provider);
    const std::string value = Writable(provider.ConsumeRandomLengthString(64));
    const auto before = FindIniValue(content, other, other);
    const std::string before_text = before ? std::string(*before) : std::string("\x01none");
    const std::string changed = SetIniValue(content, section, key, value);
    const auto written = FindIniValue(changed, section, key);
    if (!written || *written != value)
        Report("a key set by SetIniValue does not read back", content);
    const bool same = SameIgnoringCase(section, other) && SameIgnoringCase(key, other);
    const auto after = FindIniValue(changed, other, other);
    if (!same && (after ? std::string(*after) : std::string("\x01none")) != before_text)
        Report("SetIniValue changed another key", content);

    // The whole record through the file.
    WriteFile(content);
    TIniFile file(ScratchFile());
    CheckDefaults(content, ReadSettings(file));

    TSettings settings;
    settings.YFormula = Writable(provider.ConsumeRandomLengthString(300));
    settings.XLow = Writable(provider.ConsumeRandomLengthString(40));
    settings.Xhigh = Writable(provider.ConsumeRandomLengthString(40));
    for (const TDrawingSetting& setting : DrawingSettingsTable)
        std::visit([&](auto field) {
            using TValue = std::remove_reference_t<decltype(settings.Drawing.*field)>;
            if constexpr (std::is_same_v<TValue, bool>)
                settings.Drawing.*field = provider.ConsumeBool();
            else
                settings.Drawing.*field = static_cast<TValue>(provider.ConsumeIntegral<std::int32_t>());
        }, setting.Field);
    settings.Z = provider.ConsumeIntegralInRange(MinZPosition, MaxZPosition);
    settings.Cartesian = provider.ConsumeBool();
    settings.SoundSeconds = provider.ConsumeIntegralInRange(MinSoundSeconds, MaxSoundSeconds);
    try {
        WriteSettings(file, settings);
    } catch (const EIniWriteError&) {
        Report("the scratch file could not be written", content);
    }
    if (!(ReadSettings(file) == settings))
        Report("the settings written do not read back", content);
    return 0;
}
