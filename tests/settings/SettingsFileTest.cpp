// Tests of the settings record through the real INI layer: the file of a
// first run, the reading rules of each key, what is written back, and the
// settings file's name.
#include "settings/SettingsFile.h"

#include "Scratch.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

#include <sys/resource.h>

namespace {

const char DefaultsFile[] =
    "[Main]\nYFormula=sin(x)\nXLow=-10\nXhigh=10\nBackgroundColor=13303807\nAxisColor=8421504\n"
    "GoodPointColor=0\nBadPointColor=255\nLineWidth=1\nBoundary=1\nTicks=1\nZ=300\nCartesian=1\n";

TEST(SettingsFileTest, AFirstRunReadsTheDefaultsAndWritesTheThirteenLines)
{
    ScratchFolder folder;
    TIniFile ini(folder / "Orvalis.INI");
    TSettings settings = ReadSettings(ini);
    EXPECT_EQ(settings, TSettings());
    WriteSettings(ini, settings);
    EXPECT_EQ(FileText(ini.FileName()), DefaultsFile);
    EXPECT_EQ(ReadSettings(ini), TSettings());
}

// One line of section "Main", what it reads as, and the line written back.
struct KeyCase {
    std::string Line;
    std::function<void(TSettings&)> Expect;
    std::string WrittenBack;
};

TEST(SettingsFileTest, EachKeyReadsByItsRulesAndIsWrittenBackInItsForm)
{
    // A formula of 5,000 characters read, written back and read again: two
    // restarts of the program.
    std::string formula = "x";
    while (formula.size() < 5000)
        formula += "+x";
    const KeyCase cases[] = {
        {"Z=5000", [](TSettings& s) { s.Z = 1000; }, "Z=1000"},
        {"Z=-3", [](TSettings& s) { s.Z = 0; }, "Z=0"},
        {"BackgroundColor=0xFF", [](TSettings& s) { s.Drawing.BackgroundColor = 255; }, "BackgroundColor=255"},
        {"BackgroundColor=$FF", [](TSettings& s) { s.Drawing.BackgroundColor = 255; }, "BackgroundColor=255"},
        {"backgroundcolor=pale", [](TSettings&) {}, "backgroundcolor=13303807"},
        {"AxisColor=-1", [](TSettings& s) { s.Drawing.AxisColor = -1; }, "AxisColor=-1"},
        {"Boundary=2", [](TSettings& s) { s.Drawing.Boundary = true; }, "Boundary=1"},
        {"Boundary=", [](TSettings& s) { s.Drawing.Boundary = true; }, "Boundary=1"},
        {"Ticks=0", [](TSettings& s) { s.Drawing.Ticks = false; }, "Ticks=0"},
        {"CARTESIAN = 0", [](TSettings& s) { s.Cartesian = false; }, "CARTESIAN=0"},
        {"LineWidth=7", [](TSettings& s) { s.Drawing.LineWidth = 7; }, "LineWidth=7"},
        {"YFormula=", [](TSettings& s) { s.YFormula = ""; }, "YFormula="},
        {"XLow=abc", [](TSettings& s) { s.XLow = "abc"; }, "XLow=abc"},
        {"xhigh=  1e3  ", [](TSettings& s) { s.Xhigh = "1e3"; }, "xhigh=1e3"},
        {"YFormula=" + formula, [&](TSettings& s) { s.YFormula = formula; }, "YFormula=" + formula},
        {"SoundSeconds=7", [](TSettings& s) { s.SoundSeconds = 7; }, "SoundSeconds=7"},
        {"SoundSeconds=99", [](TSettings& s) { s.SoundSeconds = 30; }, "SoundSeconds=30"},
        {"SoundSeconds=0", [](TSettings& s) { s.SoundSeconds = 1; }, "SoundSeconds=1"},
        {"SoundSeconds=long", [](TSettings&) {}, "SoundSeconds=3"},
    };
    for (const KeyCase& c : cases) {
        ScratchFolder folder;
        TIniFile ini(folder / "Orvalis.INI");
        PutFile(ini.FileName(), "[Main]\n" + c.Line + "\n");
        TSettings expected;
        c.Expect(expected);
        TSettings settings = ReadSettings(ini);
        EXPECT_EQ(settings, expected) << c.Line;
        WriteSettings(ini, settings);
        EXPECT_NE(FileText(ini.FileName()).find("\n" + c.WrittenBack + "\n"), std::string::npos)
            << c.Line;
        EXPECT_EQ(ReadSettings(ini), expected) << c.Line;
    }
}

TEST(SettingsFileTest, OtherSectionsCommentsAndLineEndsAreKept)
{
    ScratchFolder folder;
    TIniFile ini(folder / "Orvalis.INI");
    PutFile(ini.FileName(), "; mine\r\n[Other]\r\nZ=9\r\n\r\n[MAIN]\r\nyformula=cos(x)\r\n; note\r\n"
                            "z=5\r\n\r\n[Tail]\r\nB=2");
    TSettings settings = ReadSettings(ini);
    EXPECT_EQ(settings.YFormula, "cos(x)");
    EXPECT_EQ(settings.Z, 5);
    settings.Z = 6;
    WriteSettings(ini, settings);
    EXPECT_EQ(FileText(ini.FileName()),
              "; mine\r\n[Other]\r\nZ=9\r\n\r\n[MAIN]\r\nyformula=cos(x)\n; note\r\nz=6\n"
              "XLow=-10\nXhigh=10\nBackgroundColor=13303807\nAxisColor=8421504\n"
              "GoodPointColor=0\nBadPointColor=255\nLineWidth=1\nBoundary=1\nTicks=1\n"
              "Cartesian=1\n\r\n[Tail]\r\nB=2");
}

// The file size limit refuses a file that grows: the settings are written
// all at once or not at all, though the first key alone would have fitted.
TEST(SettingsFileTest, ARefusedWriteLeavesTheOldFileWhole)
{
    ScratchFolder folder;
    TIniFile ini(folder / "Orvalis.INI");
    WriteSettings(ini, TSettings());
    TSettings changed;
    changed.YFormula = "cos(x)";
    changed.XLow = "-1000";
    changed.Xhigh = "1";
    int result = InChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{sizeof DefaultsFile - 1, sizeof DefaultsFile - 1};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return 3;
        try {
            WriteSettings(ini, changed);
        } catch (const EIniWriteError& e) {
            return e.Message() == "Unable to write to " + ini.FileName() ? 0 : 2;
        }
        return 1;
    });
    ASSERT_NE(result, 3) << "cannot limit the file size";
    EXPECT_EQ(result, 0);
    EXPECT_EQ(FileText(ini.FileName()), DefaultsFile);
}

TEST(SettingsFileTest, TheFileNameIsTheExecutablesWithTheExtensionINI)
{
    const std::pair<std::string, std::string> names[] = {
        {"/opt/orvalis/Orvalis", "/opt/orvalis/Orvalis.INI"},
        {"/opt/orvalis/plot.exe", "/opt/orvalis/plot.INI"},
        {"/opt/v2.1/Orvalis", "/opt/v2.1/Orvalis.INI"},
        {"/opt/a.b.c", "/opt/a.b.INI"},
        {"/opt/Orvalis.", "/opt/Orvalis.INI"},
        {"/Orvalis", "/Orvalis.INI"},
    };
    for (const auto& [executable, settings] : names)
        EXPECT_EQ(SettingsFileName(executable), settings) << executable;
    EXPECT_EQ(SettingsFileName("build/native/Orvalis"),
              std::filesystem::current_path().string() + "/build/native/Orvalis.INI");
}

} // namespace
