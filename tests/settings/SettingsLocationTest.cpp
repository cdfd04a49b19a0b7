// Tests of the settings file's location: the decision with injected answers
// about the file system, and the same decision on real folders, one of them
// not writable for the user who runs the check.
#include "settings/SettingsLocation.h"

#include "settings/SettingsFile.h"
#include "Scratch.h"
#include "Unprivileged.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace {

const std::string Beside = "/usr/bin/Orvalis.INI";
const std::string PerUser = "/home/ada/.config/Orvalis/Orvalis.INI";

struct DecisionCase {
    bool Installed;
    bool Exists;
    bool FolderWritable;
    std::string PerUserFile;
    std::string Expected;
};

TEST(SettingsLocationTest, AnInstalledCopyOnlyThePerUserFileAPortableOneWhenNothingCanBeBeside)
{
    const DecisionCase cases[] = {
        {false, false, false, PerUser, PerUser},
        {false, false, true, PerUser, Beside},
        {false, true, false, PerUser, Beside}, // a read-only file is still the user's choice
        {false, true, true, PerUser, Beside},
        {false, false, false, "", Beside},     // no user folder known
        {true, true, true, PerUser, PerUser},  // root's old file beside is not everyone's
        {true, false, true, PerUser, PerUser},
        {true, false, false, PerUser, PerUser},
    };
    for (const DecisionCase& c : cases) {
        std::vector<std::string> askedFolder, askedFile;
        const auto writable = [&](const std::string& path) { askedFolder.push_back(path); return c.FolderWritable; };
        const auto exists = [&](const std::string& path) { askedFile.push_back(path); return c.Exists; };
        EXPECT_EQ(ChooseSettingsFile(Beside, c.PerUserFile, c.Installed, writable, exists), c.Expected)
            << "installed " << c.Installed << ", exists " << c.Exists << ", writable " << c.FolderWritable
            << ", per-user '" << c.PerUserFile << "'";
        for (const std::string& folder : askedFolder)
            EXPECT_EQ(folder, "/usr/bin");
        for (const std::string& file : askedFile)
            EXPECT_EQ(file, Beside);
    }
}

// Root may write to /usr/bin, yet a program there keeps the settings of
// each user apart; a link to a program folder counts as that folder.
TEST(SettingsLocationTest, AProgramInASystemFolderUsesThePerUserFileWhoeverRunsIt)
{
    ScratchFolder home;
    const std::string perUser = home / "config/Orvalis/Orvalis.INI";
    EXPECT_EQ(LocateSettingsFile("/usr/bin/Orvalis", perUser), perUser);
    EXPECT_TRUE(std::filesystem::is_directory(home / "config/Orvalis"));

    ScratchFolder programs;
    std::filesystem::create_directory_symlink(programs.Path(), home / "bin");
    EXPECT_TRUE(IsProgramFolder(home / "bin", {programs.Path()}));
    EXPECT_TRUE(IsProgramFolder(programs.Path(), {home / "bin"}));
    EXPECT_FALSE(IsProgramFolder(home.Path(), {programs.Path(), home / "missing"}));
}

TEST(SettingsLocationTest, TheFolderOfAFile)
{
    EXPECT_EQ(FolderOfFile("/usr/bin/Orvalis.INI"), "/usr/bin");
    EXPECT_EQ(FolderOfFile("/opt/v2.1/Orvalis.INI"), "/opt/v2.1");
    EXPECT_EQ(FolderOfFile("/Orvalis.INI"), "/");
    EXPECT_EQ(FolderOfFile("Orvalis.INI"), ".");
}

TEST(SettingsLocationTest, AWritableFolderKeepsTheFileBesideAndCreatesNoUserFolder)
{
    ScratchFolder programs, home;
    const std::string perUser = home / "config/Orvalis/Orvalis.INI";
    EXPECT_EQ(LocateSettingsFile(programs / "Orvalis", perUser), programs / "Orvalis.INI");
    EXPECT_FALSE(std::filesystem::exists(home / "config"));
}

// Staged files beside the settings file that writers killed mid-write left:
// those of processes gone are removed at the start, a running writer's and
// anything else are kept.
TEST(SettingsLocationTest, TheStartRemovesWhatKilledWritersLeftAndNothingElse)
{
    ScratchFolder programs;
    const pid_t gone = ::fork();
    if (gone == 0)
        ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const std::string dead = ".Orvalis.INI." + std::to_string(gone) + ".0.tmp";
    const std::string running = ".Orvalis.INI." + std::to_string(::getpid()) + ".3.tmp";
    const std::vector<std::string> kept = {"Orvalis.INI", running, ".Orvalis.INI.x.0.tmp",
                                           ".Other.INI." + std::to_string(gone) + ".0.tmp", "Orvalis.INI.tmp"};
    for (const std::string& name : kept)
        PutFile(programs / name, "x");
    PutFile(programs / dead, "x");
    EXPECT_EQ(LocateSettingsFile(programs / "Orvalis", ""), programs / "Orvalis.INI");
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(programs.Path()))
        left.push_back(entry.path().filename());
    std::sort(left.begin(), left.end());
    std::vector<std::string> expected = kept;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(left, expected);
}

// The program's folder is not writable for the child; the child's home is.
// Exit statuses: 0 as expected, 1 the wrong file, 2 no folder created.
class UnwritableFolderTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(MakeUnwritableForChild(Programs.Path()));
        ASSERT_TRUE(MakeWritableForChild(Home.Path()));
    }

    int RunAsUser(bool expectPerUser)
    {
        return InChild([&] {
            if (!DropRoot())
                return CannotDropRoot;
            // A user that may write anywhere, or scratch folders under a
            // folder that the user cannot enter: nothing to learn.
            if (IsFolderWritable(Programs.Path()) || !IsFolderWritable(Home.Path()))
                return CannotDropRoot;
            const std::string chosen = LocateSettingsFile(Programs / "Orvalis", PerUserFile);
            if (chosen != (expectPerUser ? PerUserFile : Programs / "Orvalis.INI"))
                return 1;
            return std::filesystem::is_directory(Home / "config/Orvalis") == expectPerUser ? 0 : 2;
        });
    }

    ScratchFolder Programs, Home;
    const std::string PerUserFile = Home / "config/Orvalis/Orvalis.INI";
};

TEST_F(UnwritableFolderTest, WithoutAFileBesideThePerUserFileIsUsedAndItsFolderMade)
{
    const int result = RunAsUser(true);
    if (result == CannotDropRoot)
        GTEST_SKIP() << "needs a user who can reach the scratch folders and cannot write to every folder "
                        "(run as root, which becomes nobody, or as an ordinary user)";
    EXPECT_EQ(result, 0);
}

TEST_F(UnwritableFolderTest, AFileBesideTheExecutableIsStillUsed)
{
    ASSERT_TRUE(MakeWritableForChild(Programs.Path()));
    PutFile(Programs / "Orvalis.INI", "[Main]\n");
    ASSERT_TRUE(MakeUnwritableForChild(Programs.Path()));
    const int result = RunAsUser(false);
    if (result == CannotDropRoot)
        GTEST_SKIP() << "needs a user who can reach the scratch folders and cannot write to every folder "
                        "(run as root, which becomes nobody, or as an ordinary user)";
    EXPECT_EQ(result, 0);
}

} // namespace
