// orvalis-plot's CSV outputs in-process: the table read back by Python's csv
// module under a comma decimal separator, and bad tables refused with the
// field named and nothing written.
#include "RunLine.h"
#include "plot/cli/PainterRenderer.h"
#include "plot/core/ValueTable.h"
#include "RapidEvaluator/RapidEvaluator.h"

#include "numeric/WithSeparator.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <sstream>

namespace {


// Each row as Python's csv module reads it, every field turned into a float
// and written exactly (float.hex), "-" for an empty one.
const char ReadBack[] = R"(
import csv, sys
with open(sys.argv[1], newline='') as f:
    rows = list(csv.reader(f, strict=True))
print(','.join(rows[0]))
for row in rows[1:]:
    print(' '.join(float(v).hex() if v else '-' for v in row))
)";

// The comma locale where the machine has one; the program's own separator
// either way, which is what its number reading follows.
class CommaLocale {
public:
    CommaLocale() : Saved(std::setlocale(LC_NUMERIC, nullptr)), Separator(',')
    {
        std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    }
    ~CommaLocale() { std::setlocale(LC_NUMERIC, Saved.c_str()); }

private:
    std::string Saved;
    WithSeparator Separator;
};

TEST(DataOutput, TableReadsBackThroughPythonsCsvExactly)
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    ASSERT_FALSE(python.isEmpty()) << "python3 is not installed: run scripts/install-deps.sh";
    QTemporaryDir folder;
    const std::string path = folder.filePath(QStringLiteral("table.csv")).toStdString();
    {
        CommaLocale comma;
        const TRendererOutcome outcome =
            RunLine({"--polar", "--z", "0,5", "--table", "0:6,25:0,25", "sqrt(x-1)+z", path});
        ASSERT_EQ(outcome.Status, 0) << outcome.Errors;
    }
    QProcess process;
    process.start(python, {QStringLiteral("-c"), QString::fromLatin1(ReadBack), QString::fromStdString(path)});
    ASSERT_TRUE(process.waitForFinished(30000));
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    std::istringstream lines(process.readAllStandardOutput().toStdString());

    TRapidEvaluator evaluator;
    evaluator.SetFormula("sqrt(x-1)+z");
    evaluator.Compile();
    const TTableRange range = MakeTableRange(0, 6.25, 0.25);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "angle,r,x,y");
    int undefinedRows = 0;
    for (std::int64_t i = 0; i < range.RowCount; ++i) {
        TTableRow row;
        TableRows(evaluator, range, 0.5, true, i, 1, &row);
        ASSERT_TRUE(std::getline(lines, line)) << "row " << i << " missing";
        std::istringstream fields(line);
        std::string x, r, planeX, planeY;
        fields >> x >> r >> planeX >> planeY;
        EXPECT_EQ(std::strtod(x.c_str(), nullptr), row.X) << line;
        if (row.Undefined) {
            ++undefinedRows;
            EXPECT_EQ(r + planeX + planeY, "---") << line;
            continue;
        }
        EXPECT_EQ(std::strtod(r.c_str(), nullptr), row.Value) << line;
        EXPECT_EQ(std::strtod(planeX.c_str(), nullptr), row.PlaneX) << line;
        EXPECT_EQ(std::strtod(planeY.c_str(), nullptr), row.PlaneY) << line;
    }
    EXPECT_EQ(undefinedRows, 4);
    EXPECT_FALSE(std::getline(lines, line)) << "extra: " << line;
}

TEST(DataOutput, BadRequestsWriteNothing)
{
    QTemporaryDir folder;
    const std::string path = folder.filePath(QStringLiteral("kept.csv")).toStdString();
    const struct { TWords words; int status; const char* message; } cases[] = {
        {{"--table", "0:1:0"}, 1, "orvalis-plot: --table: step: the step cannot be 0.\n"},
        {{"--table", "1:0:0.5"}, 1, "orvalis-plot: --table: step: the step must be negative when from is above to.\n"},
        {{"--table", "0:1e8:1"}, 1, "orvalis-plot: --table: step: more than 10000000 rows.\n"},
        {{"--table", "0:b:1"}, 1, "orvalis-plot: --table: to: 'b' is not a valid floating point value.\n"},
        {{"--table", "0:1"}, 2, "orvalis-plot: --table takes FROM:TO:STEP, not '0:1'\n"},
        {{"--table", "0:1:1", "--points"}, 2, "orvalis-plot: --table and --points exclude each other\n"},
        {{"--points", "sin(x)"}, 2, "orvalis-plot: --table and --points read one formula\n"},
        {{"--points", "--format", "png"}, 2,
         "orvalis-plot: --format names a picture's format; --table and --points write CSV\n"},
    };
    for (const auto& c : cases) {
        {
            QFile kept(QString::fromStdString(path));
            ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
            kept.write("old");
        }
        TWords words = c.words;
        words.insert(words.end(), {"x", path});
        const TRendererOutcome outcome = RunLine(words);
        EXPECT_EQ(outcome.Status, c.status) << c.message;
        EXPECT_EQ(outcome.Errors.substr(0, outcome.Errors.find('\n') + 1), c.message);
        QFile kept(QString::fromStdString(path));
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), "old") << c.message;
    }
}

}  // namespace
