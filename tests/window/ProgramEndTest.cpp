// The settings kept however the program ends: a change is written once the
// changes pause, and the signals that ask the real program to end close it
// as the user would, leaving the file a normal close writes.
#include "WindowFixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <csignal>
#include <fstream>
#include <sstream>

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

TEST_F(ProgramEnd, EachEndingSignalClosesTheProgramAsTheUserWould)
{
    const QString reference = Folder.filePath("reference.INI");
    WriteFile(reference, StartSettings);
    std::make_unique<TGraphMainForm>(reference.toStdString()).reset();
    const std::string closed = FileText(reference);
    ASSERT_NE(closed, StartSettings);

    for (const int signal : {SIGTERM, SIGHUP, SIGINT, SIGQUIT}) {
        const QString folder = Folder.filePath(QString::number(signal));
        ASSERT_TRUE(QDir().mkpath(folder));
        const QString program = folder + "/Orvalis";
        ASSERT_TRUE(QFile::copy(ORVALIS_PROGRAM_PATH, program));
        WriteFile(folder + "/Orvalis.INI", StartSettings);
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(environment);
        process.start(program, {});
        ASSERT_TRUE(process.waitForStarted());
        ASSERT_TRUE(QTest::qWaitFor([&] { return Catches(process.processId(), signal); }, 60000)) << signal;
        ::kill(static_cast<pid_t>(process.processId()), signal);
        ASSERT_TRUE(process.waitForFinished(60000)) << signal;
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << signal;
        EXPECT_EQ(process.exitCode(), 0) << signal;
        EXPECT_EQ(FileText(folder + "/Orvalis.INI"), closed) << signal;
    }
}

}  // namespace
