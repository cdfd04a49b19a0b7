// The build date label's text, and the build step that fixes the day: it
// follows SOURCE_DATE_EPOCH when that is set and takes today otherwise.
#include "about/BuildDate.h"

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

constexpr std::int64_t SecondsPerDay = 86400;

// Runs the build's date step into a header in `folder` and returns the day it wrote.
std::int64_t GeneratedDay(const QTemporaryDir& folder, const QProcessEnvironment& environment)
{
    const QString header = folder.filePath("BuildDay.h");
    QProcess cmake;
    cmake.setProcessEnvironment(environment);
    cmake.start(ORVALIS_CMAKE_COMMAND, {"-DOUTPUT=" + header, "-P", ORVALIS_BUILD_DATE_SCRIPT});
    EXPECT_TRUE(cmake.waitForFinished());
    EXPECT_EQ(cmake.exitCode(), 0) << cmake.readAllStandardError().toStdString();
    QFile file(header);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const auto match = QRegularExpression("OrvalisBuildDay = (-?\\d+);").match(QString(file.readAll()));
    EXPECT_TRUE(match.hasMatch());
    return match.captured(1).toLongLong();
}

} // namespace

TEST(BuildDate, FormatsTheUtcDay)
{
    const struct {
        std::int64_t Epoch;
        const char* Text;
    } cases[] = {
        {0, "Build Date : Jan 01, 1970 "},
        {-1, "Build Date : Dec 31, 1969 "},
        {1129593600, "Build Date : Oct 18, 2005 "},
        {1129593600 + SecondsPerDay - 1, "Build Date : Oct 18, 2005 "},  // last second of the day
        {1709164800, "Build Date : Feb 29, 2024 "},
        {2147483648, "Build Date : Jan 19, 2038 "},  // past 32-bit time
        {1796774400, "Build Date : Dec 09, 2026 "},
        {253402300799, "Build Date : Dec 31, 9999 "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatBuildDate(c.Epoch), c.Text) << c.Epoch;
}

TEST(BuildDate, EveryMonthHasItsEnglishAbbreviation)
{
    const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (int month = 1; month <= 12; ++month) {
        const QDateTime first(QDate(2026, month, 1), QTime(12, 0), Qt::UTC);
        EXPECT_EQ(FormatBuildDate(first.toSecsSinceEpoch()),
                  std::string("Build Date : ") + months[month - 1] + " 01, 2026 ");
    }
}

TEST(BuildDate, BuildStepFollowsSourceDateEpoch)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("SOURCE_DATE_EPOCH", "1129600000");  // 2005-10-18 01:46:40 UTC
    const std::int64_t day = GeneratedDay(folder, environment);
    EXPECT_EQ(day, 1129593600);
    EXPECT_EQ(FormatBuildDate(day), "Build Date : Oct 18, 2005 ");
}

TEST(BuildDate, BuildStepTakesTodayWithoutSourceDateEpoch)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("SOURCE_DATE_EPOCH");
    const std::int64_t before = QDateTime::currentSecsSinceEpoch();
    const std::int64_t day = GeneratedDay(folder, environment);
    const std::int64_t after = QDateTime::currentSecsSinceEpoch();
    EXPECT_EQ(day % SecondsPerDay, 0);
    EXPECT_GE(day, before - before % SecondsPerDay);
    EXPECT_LE(day, after);
}
