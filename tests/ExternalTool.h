// A tool users have, run by a test to read back what the program wrote.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include <gtest/gtest.h>

struct TToolRun {
    QByteArray Output;
    QByteArray Errors;
};

// Runs `program` (found on the PATH) with `arguments`; a missing tool or a
// failed run fails the test, naming the install script.
inline TToolRun RunTool(const char* program, const QStringList& arguments)
{
    const QString tool = QStandardPaths::findExecutable(QString::fromLatin1(program));
    EXPECT_FALSE(tool.isEmpty()) << program << " is not installed: run scripts/install-deps.sh";
    QProcess process;
    process.start(tool, arguments);
    const bool ran = process.waitForFinished(60000) && process.exitCode() == 0;
    TToolRun run{process.readAllStandardOutput(), process.readAllStandardError()};
    EXPECT_TRUE(ran) << program << ": " << run.Errors.toStdString();
    return run;
}
