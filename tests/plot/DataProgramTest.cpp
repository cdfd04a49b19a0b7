// orvalis-plot's CSV on standard output, from a copy of the program without
// its painter module: the points of sin(x) at their closed forms and a small
// table byte for byte.
#include "ProgramAlone.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace {

constexpr long double Pi = 3.14159265358979323846264338327950288L;

class DataProgram : public ProgramAlone {
protected:
    std::string Run(const QStringList& arguments)
    {
        QProcess process;
        process.start(Alone, arguments);
        EXPECT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        return process.readAllStandardOutput().toStdString();
    }
};

TEST_F(DataProgram, PointsOfSineAtTheirClosedForms)
{
    const std::string text = Run({"--points", "sin(x)", "-"});
    ASSERT_EQ(text.substr(0, 10), "kind,x,y\r\n");
    std::map<std::string, int> counts;
    std::size_t at = 10;
    while (at < text.size()) {
        const std::size_t end = text.find("\r\n", at);
        ASSERT_NE(end, std::string::npos);
        const std::string line = text.substr(at, end - at);
        at = end + 2;
        const std::size_t comma = line.find(',');
        const std::string kind = line.substr(0, comma);
        const double x = std::strtod(line.c_str() + comma + 1, nullptr);
        ++counts[kind];
        // Roots at kπ to the double, extrema at π/2 + kπ to 1e-9 relative.
        const long double k = std::round(x / Pi * (kind == "root" || kind == "y-intercept" ? 1 : 2));
        if (kind == "root") {
            const double exact = static_cast<double>(k * Pi);
            EXPECT_LE(std::fabs(x - exact), std::fabs(std::nextafter(exact, 2 * exact + 1) - exact)) << line;
        } else if (kind == "maximum" || kind == "minimum") {
            EXPECT_NEAR(x, static_cast<double>(k * Pi / 2), 1e-9 * std::fabs(x)) << line;
            EXPECT_EQ(kind == "maximum", std::sin(x) > 0) << line;
        } else {
            EXPECT_EQ(line, "y-intercept,0,0");
        }
    }
    EXPECT_EQ(counts, (std::map<std::string, int>{{"root", 7}, {"maximum", 3}, {"minimum", 3}, {"y-intercept", 1}}));
}

TEST_F(DataProgram, TableOfASquare)
{
    EXPECT_EQ(Run({"--table", "-1:1:0.5", "x^2", "-"}), "x,y\r\n-1,1\r\n-0.5,0.25\r\n0,0\r\n0.5,0.25\r\n1,1\r\n");
    // The same to a file, and polar.
    const QString file = Folder.filePath(QStringLiteral("r.csv"));
    EXPECT_EQ(Run({"--polar", "--table", "0:0:1", "2", file}), "");
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), "angle,r,x,y\r\n0,2,2,0\r\n");
}

}  // namespace
