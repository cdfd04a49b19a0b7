// Tests of TIniFile on real files: files that cannot be read, long values,
// refused writes, and writers that are killed or run out of disk space.
#include "settings/IniFile.h"

#include "Scratch.h"
#include "files/SafeFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <functional>
#include <random>

#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

// One key written as a file update of its own.
void WriteString(TIniFile ini, std::string_view section, std::string_view key, std::string_view value)
{
    ini.Update([&](TIniText& text) { text.WriteString(section, key, value); });
}

// The file names in `folder` other than `keep`: temporary files left behind.
std::vector<std::string> OtherFiles(const ScratchFolder& folder, const std::string& keep)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.Path()))
        if (entry.path().filename() != keep)
            names.push_back(entry.path().filename());
    return names;
}

std::string RandomBytes(std::size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

// Whatever lies at the name, reading gives the defaults and must not block,
// and a write either keeps the old bytes in front of the new key or raises
// with the old thing left as it was.
struct UnreadableCase {
    const char* What;
    std::function<void(const std::string&)> Make;
    bool Writable;
};

TEST(IniFileTest, AnythingButAnIniFileReadsAsDefaultsAndIsNeverDestroyed)
{
    const UnreadableCase cases[] = {
        {"missing", [](const std::string&) {}, true},
        {"directory", [](const std::string& p) { fs::create_directory(p); }, false},
        {"fifo", [](const std::string& p) { ::mkfifo(p.c_str(), 0644); }, false},
        {"random bytes", [](const std::string& p) { PutFile(p, RandomBytes(65536, 1)); }, true},
        {"10 MB line", [](const std::string& p) { PutFile(p, std::string(10 << 20, 'k')); }, true},
        {"too large", [](const std::string& p) { PutFile(p, std::string(17 << 20, '\n')); }, false},
    };
    for (const UnreadableCase& c : cases) {
        ScratchFolder folder;
        const std::string name = folder / "plot.INI";
        c.Make(name);
        const std::string before = fs::is_regular_file(name) ? FileText(name) : "";
        TIniFile ini(name);
        EXPECT_EQ(ini.Read().ReadString("Main", "Key", "d"), "d") << c.What;
        EXPECT_EQ(ini.Read().ReadInteger("Main", "Key", 7), 7) << c.What;
        EXPECT_TRUE(ini.Read().ReadBool("Main", "Key", true)) << c.What;
        if (c.Writable) {
            WriteString(ini, "Main", "Key", "v");
            std::string after = FileText(name);
            EXPECT_EQ(after.substr(0, before.size()), before) << c.What;
            EXPECT_EQ(ini.Read().ReadString("Main", "Key", "d"), "v") << c.What;
        } else {
            auto type = fs::status(name).type();
            try {
                WriteString(ini, "Main", "Key", "v");
                ADD_FAILURE() << c.What << ": the write did not raise";
            } catch (const EIniWriteError& e) {
                EXPECT_EQ(e.Message(), "Unable to write to " + name) << c.What;
            }
            EXPECT_EQ(fs::status(name).type(), type) << c.What;
            if (type == fs::file_type::regular) {
                EXPECT_EQ(FileText(name), before) << c.What;
            }
        }
        EXPECT_EQ(OtherFiles(folder, "plot.INI"), std::vector<std::string>()) << c.What;
    }
}

TEST(IniFileTest, ValuesAreReadWholeWhateverTheirLength)
{
    ScratchFolder folder;
    TIniFile ini(folder / "plot.INI");
    const std::string formula(5000, 'x');
    WriteString(ini, "Main", "YFormula", formula);
    EXPECT_EQ(FileText(ini.FileName()), "[Main]\nYFormula=" + formula + "\n");
    EXPECT_EQ(ini.Read().ReadString("Main", "YFormula", ""), formula);
    PutFile(ini.FileName(), "[Main]\nYFormula=" + std::string(10 << 20, 'y'));
    EXPECT_EQ(ini.Read().ReadString("Main", "YFormula", ""), std::string(10 << 20, 'y'));
    // A default loses its trailing blanks only.
    EXPECT_EQ(ini.Read().ReadString("Main", "Missing", " d  "), " d");
    EXPECT_EQ(ini.Read().ReadString("Main", "Missing", formula), formula);
}

TEST(IniFileTest, AReplacedFileKeepsItsPermissionsAndASymbolicLinkKeepsPointing)
{
    ScratchFolder folder;
    const std::string real = folder / "real.INI", link = folder / "plot.INI";
    PutFile(real, "[Main]\nKey=1\n");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(real, link);
    WriteString(TIniFile(link), "Main", "Key", "2");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(FileText(real), "[Main]\nKey=2\n");
    EXPECT_EQ(fs::status(real).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// What a child reports about a write that should be refused.
enum RefusalResult { Refused = 0, NotRefused = 1, WrongMessage = 2, CannotSetUp = 3 };

int ExpectRefusal(const std::string& name)
{
    try {
        WriteString(TIniFile(name), "Main", "Key", std::string(4096, 'n'));
    } catch (const EIniWriteError& e) {
        return e.Message() == "Unable to write to " + name ? Refused : WrongMessage;
    }
    return NotRefused;
}

// Tests may run as root, for whom permissions refuse nothing: the child then
// continues as an unprivileged user.
bool ActAsUnprivilegedUser()
{
    return ::geteuid() != 0 ||
           (::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0);
}

// A read-only folder; a file that cannot be read in a folder that could be
// written (its content would be lost); a full disk, made by a file size
// limit, which holds for every user; a file without write permission, left
// alone by root too; a folder that is a regular file.
TEST(IniFileTest, ARefusedWriteRaisesAndLeavesTheOldFileIntact)
{
    const std::string old = "; old\n[Main]\nKey=old\n";
    struct RefusalCase {
        const char* What;
        std::function<int(const ScratchFolder&, const std::string&)> Child;
    } cases[] = {
        {"read-only folder",
         [](const ScratchFolder& folder, const std::string& name) {
             ::chmod(folder.Path().c_str(), 0555);
             return ActAsUnprivilegedUser() ? ExpectRefusal(name) : int(CannotSetUp);
         }},
        {"unreadable file",
         [](const ScratchFolder& folder, const std::string& name) {
             ::chmod(folder.Path().c_str(), 0777);
             ::chmod(name.c_str(), 0);
             if (!ActAsUnprivilegedUser())
                 return int(CannotSetUp);
             if (TIniFile(name).Read().ReadString("Main", "Key", "d") != "d")
                 return int(NotRefused);
             return ExpectRefusal(name);
         }},
        {"full disk",
         [](const ScratchFolder&, const std::string& name) {
             std::signal(SIGXFSZ, SIG_IGN);
             rlimit limit{1024, 1024};
             if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
                 return int(CannotSetUp);
             return ExpectRefusal(name);
         }},
        {"write-protected file, whoever writes",
         [](const ScratchFolder&, const std::string& name) {
             ::chmod(name.c_str(), 0444);
             return ExpectRefusal(name);
         }},
        {"folder is a file",
         [](const ScratchFolder&, const std::string& name) { return ExpectRefusal(name + "/plot.INI"); }},
    };
    std::string skipped;
    for (const RefusalCase& c : cases) {
        ScratchFolder folder;
        const std::string name = folder / "plot.INI";
        PutFile(name, old);
        ::chmod(name.c_str(), 0644);
        ::chmod(folder.Path().c_str(), 0755); // an unprivileged user may look in
        int result = InChild([&] { return c.Child(folder, name); });
        ::chmod(folder.Path().c_str(), 0755);
        ::chmod(name.c_str(), 0644);
        if (result == CannotSetUp) {
            skipped += std::string(" ") + c.What;
            continue;
        }
        EXPECT_EQ(result, Refused) << c.What;
        EXPECT_EQ(FileText(name), old) << c.What;
        EXPECT_EQ(OtherFiles(folder, "plot.INI"), std::vector<std::string>()) << c.What;
    }
    if (!skipped.empty())
        GTEST_SKIP() << "could not give up privileges or limit the file size for:" << skipped;
}

// Nothing is cached between calls: a key another program adds in between
// survives the next write.
TEST(IniFileTest, KeysAnotherProgramAddsBetweenWritesAreKept)
{
    ScratchFolder folder;
    TIniFile ini(folder / "plot.INI");
    WriteString(ini, "Main", "A", "1");
    PutFile(ini.FileName(), FileText(ini.FileName()) + "Added=2\n");
    WriteString(ini, "Main", "B", "3");
    EXPECT_EQ(FileText(ini.FileName()), "[Main]\nA=1\nAdded=2\nB=3\n");
}

// Whether `writer` holds a file in `folder` open that has no name: a new
// content being written.
bool HoldsUnnamedFile(pid_t writer, const std::string& folder)
{
    std::error_code error;
    for (const auto& fd : fs::directory_iterator("/proc/" + std::to_string(writer) + "/fd", error)) {
        const std::string target = fs::read_symlink(fd.path(), error).string();
        if (target.rfind(folder + "/", 0) == 0 && target.ends_with(" (deleted)"))
            return true;
    }
    return false;
}

// A writer killed at random moments while it rewrites a large file over and
// over: a reader meanwhile, and the file afterwards, only ever see the old or
// the new content, and after the next start (which removes what killed
// writers left) nothing else is in the folder. Most kills wait until the
// writer holds its new content open, so that they land in the middle of a
// write (under a processor emulator most of a write is the reading and
// parsing before it).
TEST(IniFileTest, AWriterKilledMidWriteLeavesTheOldOrTheNewFileAndNothingElse)
{
    ScratchFolder folder;
    const std::string name = folder / "plot.INI";
    std::string bulk = "[Other]\n";
    for (int i = 0; i < 20000; ++i)
        bulk += "Key" + std::to_string(i) + "=some value that takes room\n";
    PutFile(name, bulk + "[Main]\nYFormula=A\n");
    const std::string contents[] = {FileText(name), bulk + "[Main]\nYFormula=B\n"};

    int midWrite = 0;
    for (int round = 0; round < 12 || (midWrite == 0 && round < 120); ++round) {
        std::fflush(nullptr);
        pid_t writer = ::fork();
        if (writer == 0) {
            TIniFile ini(name);
            try {
                for (int i = 1;; ++i)
                    WriteString(ini, "Main", "YFormula", i % 2 ? "B" : "A");
            } catch (...) {
                ::_exit(1);
            }
        }
        bool whole = true;
        auto stop = std::chrono::steady_clock::now() + std::chrono::milliseconds(20 + 15 * (round % 12));
        while (whole && std::chrono::steady_clock::now() < stop) {
            std::string seen = FileText(name);
            whole = seen == contents[0] || seen == contents[1];
            EXPECT_TRUE(whole) << "a reader saw " << seen.size() << " bytes";
        }
        stop = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        bool holding = false;
        while (round % 4 != 3 && !holding && std::chrono::steady_clock::now() < stop)
            holding = HoldsUnnamedFile(writer, folder.Path());
        ::kill(writer, SIGKILL);
        ::waitpid(writer, nullptr, 0);
        midWrite += holding;
        std::string after = FileText(name);
        ASSERT_TRUE(after == contents[0] || after == contents[1]) << after.size() << " bytes left";
        RemoveStaleStagedFiles(name);
        EXPECT_EQ(OtherFiles(folder, "plot.INI"), std::vector<std::string>()) << "round " << round;
    }
    EXPECT_GT(midWrite, 0);
}

} // namespace
