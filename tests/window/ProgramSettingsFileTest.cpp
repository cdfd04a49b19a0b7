// Tests of the running program's settings file: beside a program in a
// writable folder, else in the user's configuration folder as Qt names it
// from XDG_CONFIG_HOME or HOME.
#include "window/ProgramSettingsFile.h"

#include "settings/Scratch.h"
#include "settings/Unprivileged.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <filesystem>

namespace {

class ProgramSettingsFileTest : public testing::Test {
protected:
    void SetUp() override { QCoreApplication::setApplicationName(QStringLiteral("Orvalis")); }

    // In a child as nobody (or this user) with `name` set to `value`: 0 when
    // the program in `Programs` gets `expected`, 1 when not, CannotDropRoot
    // when no user without write access to `Programs` can be had.
    int ChildChooses(const char* name, const std::string& value, const std::string& expected)
    {
        return InChild([&] {
            if (!DropRoot() || ::access(Programs.Path().c_str(), W_OK) == 0)
                return CannotDropRoot;
            ::unsetenv("XDG_CONFIG_HOME");
            ::setenv(name, value.c_str(), 1);
            return ProgramSettingsFile(Programs / "Orvalis") == expected ? 0 : 1;
        });
    }

    ScratchFolder Programs, Home;
};

TEST_F(ProgramSettingsFileTest, AProgramInAWritableFolderKeepsItsFileBesideIt)
{
    EXPECT_EQ(ProgramSettingsFile(Programs / "Orvalis"), Programs / "Orvalis.INI");
}

TEST_F(ProgramSettingsFileTest, AnInstalledProgramUsesTheConfigurationFolderOfTheUser)
{
    ASSERT_TRUE(MakeUnwritableForChild(Programs.Path()));
    ASSERT_TRUE(MakeWritableForChild(Home.Path()));
    const int fromXdg = ChildChooses("XDG_CONFIG_HOME", Home / "xdg", Home / "xdg/Orvalis/Orvalis.INI");
    if (fromXdg == CannotDropRoot)
        GTEST_SKIP() << "needs a user who cannot write to every folder (root becomes nobody)";
    EXPECT_EQ(fromXdg, 0);
    EXPECT_TRUE(std::filesystem::is_directory(Home / "xdg/Orvalis"));

    EXPECT_EQ(ChildChooses("HOME", Home.Path(), Home / ".config/Orvalis/Orvalis.INI"), 0);
    EXPECT_TRUE(std::filesystem::is_directory(Home / ".config/Orvalis"));
}

} // namespace
