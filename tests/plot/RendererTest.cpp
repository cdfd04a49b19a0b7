// orvalis-plot as a script uses it: pictures written, errors reported with
// their exit status, nothing written on failure.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct TRun {
    int Status;
    QString Errors;
};

class Renderer : public testing::Test {
protected:
    QTemporaryDir Folder;

    QString Path(const QString& name) const { return Folder.filePath(name); }

    TRun Run(const QStringList& arguments) const
    {
        QProcess process;
        process.start(QStringLiteral(ORVALIS_PLOT_PATH), arguments);
        EXPECT_TRUE(process.waitForFinished(30000));
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardError())};
    }

    static QByteArray Head(const QString& file, int bytes)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.read(bytes) : QByteArray();
    }
};

TEST_F(Renderer, WritesPngOrBmpByTheNameOfTheOutput)
{
    const struct { const char* name; const char* magic; } outputs[] = {
        {"a.png", "\x89PNG"}, {"b.PNG", "\x89PNG"}, {"c.bmp", "BM"}, {"plot", "BM"}, {"d.png.jpg", "BM"}};
    for (const auto& output : outputs) {
        const TRun run = Run({"sin(x)", Path(output.name)});
        ASSERT_EQ(run.Status, 0) << output.name << ": " << run.Errors.toStdString();
        EXPECT_TRUE(Head(Path(output.name), 4).startsWith(output.magic)) << output.name;
        EXPECT_EQ(QImage(Path(output.name)).size(), QSize(507, 266)) << output.name;
    }
}

TEST_F(Renderer, OptionsShapeThePicture)
{
    TRun run = Run({"--size", "300x600", "--polar", "--xlow=0", "--xhigh", "6.3", "--line-width", "3",
                    "--background", "$FFFFFF", "--good=0xFF0000", "--no-ticks", "--z", "0.5",
                    "sin(4*x)*z", Path("rose.png")});
    ASSERT_EQ(run.Status, 0) << run.Errors.toStdString();
    const QImage rose(Path("rose.png"));
    EXPECT_EQ(rose.size(), QSize(300, 600));
    EXPECT_EQ(rose.pixel(5, 300), qRgb(255, 255, 255)) << "background 0x00FFFFFF";

    // A kept y extent: y = 5 lies on the top edge of the window 0..5.
    run = Run({"--ymin", "0", "--ymax", "5", "--good", "255", "5", Path("flat.bmp")});
    ASSERT_EQ(run.Status, 0) << run.Errors.toStdString();
    EXPECT_EQ(QImage(Path("flat.bmp")).pixel(100, 35), qRgb(255, 0, 0));
}

TEST_F(Renderer, DoubleDashEndsTheOptions)
{
    const TRun run = Run({"--xlow", "0", "--", "-x+1", Path("minus.png")});
    EXPECT_EQ(run.Status, 0) << run.Errors.toStdString();
    EXPECT_TRUE(QFile::exists(Path("minus.png")));
}

TEST_F(Renderer, FailuresExitWithTheirStatusAndWriteNothing)
{
    const struct { QStringList arguments; int status; const char* message; } cases[] = {
        {{"x+"}, 2, "The formula is not valid at character 3.\nSyntax error\n"},
        {{""}, 2, "The formula is not valid at character 1.\nEmpty expression\n"},
        {{"1e400*x"}, 2, "The formula is not valid at character 6.\nFloating point overflow\n"},
        {{"--xlow", "abc", "x"}, 1, "orvalis-plot: 'abc' is not a valid floating point value.\n"},
        {{"--xhigh", "1e400", "x"}, 1, "orvalis-plot: Floating point overflow.\n"},
        {{"--xlow", "1", "--xhigh", "1", "x"}, 1, "orvalis-plot: Invalid floating point operation.\n"},
        {{"--z", "z", "x"}, 1, "orvalis-plot: 'z' is not a valid floating point value.\n"},
        {{"--size", "79x100", "x"}, 2, nullptr},
        {{"--size", "100", "x"}, 2, nullptr},
        {{"--color", "1", "x"}, 2, nullptr},
        {{"--good", "red", "x"}, 2, nullptr},
        {{"--ymin", "1", "x"}, 2, nullptr},
        {{"--polar", "--ymin", "1", "--ymax", "2", "x"}, 2, nullptr},
        {{"--polar=1", "x"}, 2, nullptr},
    };
    for (const auto& c : cases) {
        const QString output = Path("out.png");
        const TRun run = Run(c.arguments + QStringList{output});
        EXPECT_EQ(run.Status, c.status) << c.arguments.join(' ').toStdString();
        if (c.message)
            EXPECT_EQ(run.Errors.toStdString(), c.message);
        else
            EXPECT_TRUE(run.Errors.contains("usage: orvalis-plot")) << run.Errors.toStdString();
        EXPECT_FALSE(QFile::exists(output)) << c.arguments.join(' ').toStdString();
    }
    EXPECT_EQ(Run({"x"}).Status, 2) << "no output named";
}

TEST_F(Renderer, UnwritableOutputIsAnErrorAndLeavesNothing)
{
    const QString missing = Path("no/such/folder/plot.png");
    const TRun run = Run({"x", missing});
    EXPECT_EQ(run.Status, 1);
    EXPECT_TRUE(run.Errors.startsWith("orvalis-plot: Cannot create file ")) << run.Errors.toStdString();
    EXPECT_FALSE(QFile::exists(missing));
    // A folder in the place of the file.
    QDir(Folder.path()).mkdir("taken");
    EXPECT_EQ(Run({"x", Path("taken")}).Status, 1);
    EXPECT_EQ(QDir(Path("taken")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(), 0);
}

}  // namespace
