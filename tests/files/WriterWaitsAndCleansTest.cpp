// The file writer's two guards: a FIFO that nothing reads is refused after a
// bounded wait instead of holding the caller for ever, and the staged files
// that killed writers left are removed before a regular file is written.
#include "files/SafeFile.h"
#include "settings/Scratch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <future>
#include <set>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// More than a pipe holds, so the writer has to wait for room.
const std::string ManyBytes(1 << 20, 'b');

struct TWriteOutcome {
    std::string Message; // empty when the write succeeded
    int Error = 0;
    Clock::duration Took{};
};

TWriteOutcome WriteThrough(const std::string& name, const TWaitHook& wait)
{
    TWriteOutcome outcome;
    const Clock::time_point start = Clock::now();
    try {
        WriteFileBytes(name, ManyBytes, wait);
    } catch (const EFileWriteError& error) {
        outcome.Message = error.Message();
        outcome.Error = error.Error();
    }
    outcome.Took = Clock::now() - start;
    return outcome;
}

// The write on a thread of its own, so that a writer that blocks fails the
// test instead of hanging it: a reader then releases it.
TWriteOutcome WriteWithoutHanging(const std::string& fifo, const std::string& name, const TWaitHook& wait)
{
    auto write = std::async(std::launch::async, [&] { return WriteThrough(name, wait); });
    if (write.wait_for(ReaderWait + std::chrono::seconds(20)) != std::future_status::ready) {
        ADD_FAILURE() << "the write still waits";
        FileText(fifo);
    }
    return write.get();
}

TEST(FileWriterWait, AFifoThatNothingReadsIsRefusedAfterTheWait)
{
    for (const bool withHook : {false, true}) {
        ScratchFolder folder;
        const std::string fifo = folder / "pipe.png", link = folder / "picture.png";
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        fs::create_symlink(fifo, link);
        int calls = 0;
        std::set<std::thread::id> threads;
        const TWaitHook hook = [&] {
            ++calls;
            threads.insert(std::this_thread::get_id());
        };
        const TWriteOutcome outcome = WriteWithoutHanging(fifo, link, withHook ? hook : TWaitHook());
        EXPECT_EQ(outcome.Message, "Nothing is reading " + link + ".") << withHook;
        EXPECT_EQ(outcome.Error, ENXIO);
        EXPECT_GE(outcome.Took, ReaderWait) << withHook;
        EXPECT_LT(outcome.Took, ReaderWait + std::chrono::seconds(10)) << withHook;
        EXPECT_GE(calls, withHook ? 20 : 0) << "the hook keeps being called while the writer waits";
        EXPECT_LE(threads.size(), 1u) << "the hook runs on the writing thread";
        EXPECT_TRUE(fs::is_fifo(fifo));
    }
}

TEST(FileWriterWait, AReaderThatComesDuringTheWaitGetsEveryByte)
{
    ScratchFolder folder;
    const std::string fifo = folder / "pipe.bmp";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    int calls = 0;
    std::string arrived;
    std::thread reader;
    const TWriteOutcome outcome = WriteWithoutHanging(fifo, fifo, [&] {
        // Half a second into the wait.
        if (++calls == 25)
            reader = std::thread([&] { arrived = FileText(fifo); });
    });
    if (reader.joinable())
        reader.join();
    EXPECT_EQ(outcome.Message, "");
    EXPECT_GE(calls, 25);
    EXPECT_EQ(arrived.size(), ManyBytes.size());
    EXPECT_TRUE(arrived == ManyBytes);
}

// A child that has ended: its process id names no process now.
pid_t DeadProcess()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

std::set<std::string> Names(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename());
    return names;
}

TEST(FileWriterStaged, StaleStagedFilesGoBeforeAWriteAndALivingWritersStay)
{
    const pid_t living = ::fork();
    if (living == 0) {
        ::pause();
        ::_exit(0);
    }
    const std::string dead = std::to_string(DeadProcess()), alive = std::to_string(living);
    ScratchFolder folder, elsewhere;
    const std::string others = elsewhere / (".plot.png." + dead + ".0.tmp");
    PutFile(others, "a killed writer's, in another folder");
    struct TPlanted {
        std::string Name;
        bool Stays;
    };
    const TPlanted planted[] = {
        {".plot.png." + dead + ".7.tmp", false},
        {".frame 2.1.png." + dead + ".12.tmp", false}, // another target's, with dots in its name
        {".plot.png." + alive + ".3.tmp", true},
        {".plot.png." + std::to_string(::getpid()) + ".9.tmp", true}, // this process's own
        {".plot.png." + dead + ".tmp", true},                         // not a staged name
        {"plot.png." + dead + ".1.tmp", true},
        {".plot.png.x" + dead + ".1.tmp", true},
    };
    std::set<std::string> expected = {"plot.png"};
    for (const TPlanted& file : planted) {
        PutFile(folder / file.Name, "staged");
        if (file.Stays)
            expected.insert(file.Name);
    }
    WriteFileBytes(folder / "plot.png", "picture");
    EXPECT_EQ(Names(folder.Path()), expected);
    EXPECT_TRUE(fs::exists(others));

    // One left by a writer killed since: the next write takes it too.
    const std::string later = ".plot.png." + std::to_string(DeadProcess()) + ".0.tmp";
    PutFile(folder / later, "staged");
    WriteFileBytes(folder / "plot.png", "picture");
    EXPECT_EQ(Names(folder.Path()), expected);
    EXPECT_EQ(FileText(folder / "plot.png"), "picture");

    ::kill(living, SIGKILL);
    ::waitpid(living, nullptr, 0);
}

} // namespace
