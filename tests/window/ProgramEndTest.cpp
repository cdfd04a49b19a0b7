// The settings kept however the program ends: a change is written once the
// changes pause, and the signals that ask the real program to end close it
// as the user would, leaving the file a normal close writes, and then end it
// by the same signal, also while a message box is open.
#include "WindowFixture.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <csignal>
#include <iterator>
#include <optional>
#include <fstream>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string FileText(const QString& path)
{
    std::ifstream file(path.toStdString(), std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteFile(const QString& path, const std::string& text)
{
    std::ofstream(path.toStdString(), std::ios::binary) << text;
}

// Whether the process catches `signal` (its handler is in place).
bool Catches(qint64 pid, int signal)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("SigCgt:", 0) == 0)
            return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1;
    return false;
}

// Values the program rewrites in its own form, so that an untouched file
// shows.
const std::string StartSettings = "[Main]\nYFormula=x*z\nZ=5000\nCartesian=0\nLineWidth=3\n";

class ProgramEnd : public WindowFixture {};

TEST_F(ProgramEnd, AChangeIsSavedOnceTheChangesPause)
{
    Open();
    SetText("YFormula", "x^3");
    const QString path = QString::fromStdString(SettingsPath());
    ASSERT_TRUE(QTest::qWaitFor([&] { return FileText(path).find("YFormula=x^3\n") != std::string::npos; }));
    const std::string saved = FileText(path);
    Window.reset();
    EXPECT_EQ(saved, FileText(path)) << "as a normal close writes it";
}

// The process's CPU time so far, in clock ticks.
unsigned long long CpuTicks(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // The fields after the command's name, which may hold spaces.
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    unsigned long long user = 0, system = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14)
            user = std::stoull(field);
        if (i == 15)
            system = std::stoull(field);
    }
    return user + system;
}

// Starts `program` on the offscreen platform.
pid_t Start(const QString& program)
{
    const QByteArray path = program.toLocal8Bit();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::execl(path.constData(), path.constData(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    return pid;
}

// The wait status of `pid` once it has ended, nullopt if it still runs
// after `ms`.
std::optional<int> WaitStatus(pid_t pid, int ms)
{
    int status = 0;
    if (!QTest::qWaitFor([&] { return ::waitpid(pid, &status, WNOHANG) == pid; }, ms)) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        return std::nullopt;
    }
    return status;
}

struct TEndingState {
    const char* What;
    std::string Settings;
    std::size_t Messages; // the boxes the window shows as it starts and is seen
};

// A formula that cannot be compiled keeps a message box open as the window
// starts, with its own event loop.
const TEndingState EndingStates[] = {
    {"the main window", StartSettings, 0},
    {"a message box", "[Main]\nYFormula=sin(\nZ=5000\nCartesian=0\nLineWidth=3\n", 1},
};

TEST_F(ProgramEnd, EachEndingSignalClosesTheProgramAndEndsItByThatSignal)
{
    for (const TEndingState& state : EndingStates) {
        const QString reference = Folder.filePath("reference.INI");
        WriteFile(reference, state.Settings);
        Dialogs.Messages.clear();
        {
            TGraphMainForm form(reference.toStdString());
            form.show();
            (void)QTest::qWaitFor([&] { return Dialogs.Messages.size() >= state.Messages; }, 5000);
            QCoreApplication::processEvents();
        }
        ASSERT_EQ(Dialogs.Messages.size(), state.Messages) << state.What;
        const std::string closed = FileText(reference);
        ASSERT_NE(closed, state.Settings) << state.What;

        for (const int signal : {SIGTERM, SIGHUP, SIGINT, SIGQUIT}) {
            const std::string what = std::string(state.What) + ", signal " + std::to_string(signal);
            const QString folder = Folder.filePath(QString::number(signal) + "-" + QString::number(state.Messages));
            ASSERT_TRUE(QDir().mkpath(folder));
            const QString program = folder + "/Orvalis";
            ASSERT_TRUE(QFile::copy(ORVALIS_PROGRAM_PATH, program));
            WriteFile(folder + "/Orvalis.INI", state.Settings);
            const pid_t pid = Start(program);
            ASSERT_GT(pid, 0);
            ASSERT_TRUE(QTest::qWaitFor([&] { return Catches(pid, signal); }, 60000)) << what;
            // Idle in an event loop: the main one, or the box's.
            unsigned long long ticks = CpuTicks(pid);
            for (int still = 0, round = 0; still < 3 && round < 600; ++round) {
                QTest::qSleep(100);
                const unsigned long long now = CpuTicks(pid);
                still = now == ticks ? still + 1 : 0;
                ticks = now;
            }
            ::kill(pid, signal);
            const std::optional<int> status = WaitStatus(pid, 60000);
            ASSERT_TRUE(status) << what << ": still running";
            EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == signal) << what << ": status " << *status;
            EXPECT_EQ(FileText(folder + "/Orvalis.INI"), closed) << what;
        }
    }
}

}  // namespace
