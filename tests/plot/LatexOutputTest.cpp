// orvalis-plot's LaTeX pictures as a document uses them: compiled by
// pdflatex, input by a document and alone, and read back from the PDF with
// pdftotext and pdftoppm.
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// pdftoppm's resolution: the curve's place is checked to two of these pixels.
constexpr int CheckDpi = 192;
constexpr int Tolerance = 2;

class LatexOutput : public testing::Test {
protected:
    QTemporaryDir Folder;
    QString Path(const QString& name) const { return Folder.filePath(name); }

    // Runs a program in the folder: its exit status and its standard output.
    std::pair<int, QString> Run(const QString& program, const QStringList& arguments) const
    {
        QProcess process;
        process.setWorkingDirectory(Folder.path());
        process.start(program, arguments);
        EXPECT_TRUE(process.waitForFinished(120000)) << program.toStdString();
        const QString output = QString::fromUtf8(process.readAllStandardOutput());
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, output};
    }

    void Compile(const QString& document) const
    {
        const auto [status, log] =
            Run(QStandardPaths::findExecutable("pdflatex"), {"-interaction=nonstopmode", "-halt-on-error", document});
        ASSERT_EQ(status, 0) << log.right(2000).toStdString();
    }

    void SetUp() override
    {
        if (QStandardPaths::findExecutable("pdflatex").isEmpty())
            GTEST_SKIP() << "pdflatex is not installed (scripts/install-deps.sh installs it): LaTeX output untested";
    }
};

bool Dark(QRgb pixel)
{
    return qRed(pixel) < 128 && qGreen(pixel) < 128 && qBlue(pixel) < 128;
}

bool Red(QRgb pixel)
{
    return qRed(pixel) > 180 && qGreen(pixel) < 110 && qBlue(pixel) < 110;
}

// The first and last index whose count of dark pixels is at least half the
// largest: the axis box's two sides along that direction.
std::pair<int, int> LongestLines(const std::vector<int>& counts)
{
    const int most = *std::max_element(counts.begin(), counts.end());
    int first = -1, last = -1;
    for (int i = 0; i < static_cast<int>(counts.size()); ++i)
        if (counts[static_cast<std::size_t>(i)] * 2 >= most) {
            if (first < 0)
                first = i;
            last = i;
        }
    return {first, last};
}

TEST_F(LatexOutput, InputByADocumentItTypesetsTitlesAndLegendAsTyped)
{
    const auto [status, errors] = Run(QStringLiteral(ORVALIS_PLOT_PATH),
                                      {"--title", "a_b^c ~ 50% & $#{}\\", "--x-title", "time", "--y-title", "speed",
                                       "--grid", "x*x", "ln(x)", "fig.tex"});
    ASSERT_EQ(status, 0) << errors.toStdString();
    QFile figure(Path("fig.tex"));
    ASSERT_TRUE(figure.open(QIODevice::ReadOnly));
    const QByteArray tex = figure.readAll();
    EXPECT_TRUE(tex.startsWith("\\begin{tikzpicture}")) << "a picture to input, not a document";
    EXPECT_FALSE(tex.contains("\\documentclass"));
    EXPECT_TRUE(tex.contains("nan")) << "ln(x) is undefined left of 0";

    QFile document(Path("doc.tex"));
    ASSERT_TRUE(document.open(QIODevice::WriteOnly));
    document.write("\\documentclass{article}\n\\usepackage{pgfplots}\n\\pgfplotsset{compat=1.18}\n"
                   "\\begin{document}\n\\input{fig.tex}\n\\end{document}\n");
    document.close();
    Compile("doc.tex");
    const QString text = Run(QStandardPaths::findExecutable("pdftotext"), {"doc.pdf", "-"}).second;
    for (const char* expected : {"50% & $#{}\\", "y = x*x", "y = ln(x)", "time", "speed"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << " in " << text.toStdString();
}

TEST_F(LatexOutput, StandaloneDocumentDrawsTheCurveWhereTheSamplesSay)
{
    const auto [status, errors] = Run(QStringLiteral(ORVALIS_PLOT_PATH),
                                      {"--standalone", "--size", "90mmx60mm", "--legend", "top-left", "--good", "red",
                                       "--xlow", "0", "--xhigh", "1", "--ymin", "-0.5", "--ymax", "1.5", "--title",
                                       "", "x*x", "x/2-0.4", "alone.tex"});
    ASSERT_EQ(status, 0) << errors.toStdString();
    Compile("alone.tex");
    const QString info = Run(QStandardPaths::findExecutable("pdfinfo"), {"alone.pdf"}).second;
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+1\\n"))) << info.toStdString();
    const QString text = Run(QStandardPaths::findExecutable("pdftotext"), {"alone.pdf", "-"}).second;
    EXPECT_TRUE(text.contains("y = x*x")) << text.toStdString();

    ASSERT_EQ(Run(QStandardPaths::findExecutable("pdftoppm"),
                  {"-r", QString::number(CheckDpi), "-png", "-singlefile", "alone.pdf", "alone"})
                  .first,
              0);
    const QImage page = QImage(Path("alone.png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(page.isNull());
    // The page is about the picture's size.
    EXPECT_NEAR(page.width(), 90 / 25.4 * CheckDpi, 0.1 * page.width());

    // The axis box: the longest dark rows and columns.
    std::vector<int> columns(static_cast<std::size_t>(page.width())), rows(static_cast<std::size_t>(page.height()));
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (Dark(page.pixel(x, y))) {
                ++columns[static_cast<std::size_t>(x)];
                ++rows[static_cast<std::size_t>(y)];
            }
    const auto [left, right] = LongestLines(columns);
    const auto [top, bottom] = LongestLines(rows);
    ASSERT_GT(right - left, page.width() / 3);
    ASSERT_GT(bottom - top, page.height() / 3);

    // In every column inside the box (y from -0.5 to 1.5), a red pixel where
    // y = x² lies; the legend's red line is far from it.
    int checked = 0;
    for (int x = left + 3; x < right - 3; x += 4) {
        const double along = double(x - left) / (right - left);
        const double row = bottom - (along * along + 0.5) / 2 * (bottom - top);
        int nearest = page.height();
        for (int y = top + 1; y < bottom; ++y)
            if (Red(page.pixel(x, y)))
                nearest = std::min<int>(nearest, static_cast<int>(std::lround(std::abs(y - row))));
        EXPECT_LE(nearest, Tolerance) << "column " << x << ": the curve should pass row " << row;
        ++checked;
    }
    EXPECT_GT(checked, 50);
}

}  // namespace
