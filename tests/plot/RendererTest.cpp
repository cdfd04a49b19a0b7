// orvalis-plot as a script uses it: pictures, pages and animations written
// and read back with other programs, errors reported with their exit status,
// nothing written on failure.
#include "SameDrawing.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

struct TRun {
    int Status;
    QString Errors;
    QString Output;
};

class Renderer : public testing::Test {
protected:
    QTemporaryDir Folder;

    QString Path(const QString& name) const { return Folder.filePath(name); }

    static TRun Run(const QStringList& arguments, const QString& program = QStringLiteral(ORVALIS_PLOT_PATH))
    {
        QProcess process;
        process.start(program, arguments);
        EXPECT_TRUE(process.waitForFinished(30000)) << program.toStdString();
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardError()), QString::fromUtf8(process.readAllStandardOutput())};
    }

    // A tool that reads the files back; scripts/install-deps.sh installs it.
    static QString Tool(const char* name)
    {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        EXPECT_FALSE(path.isEmpty()) << name << " is not installed: run scripts/install-deps.sh";
        return path;
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
        {"a.png", "\x89PNG"}, {"b.PNG", "\x89PNG"}, {"c.bmp", "BM"}, {"plot", "BM"}, {"d.Ppm", "P6"}};
    for (const auto& output : outputs) {
        const TRun run = Run({"sin(x)", Path(output.name)});
        ASSERT_EQ(run.Status, 0) << output.name << ": " << run.Errors.toStdString();
        EXPECT_TRUE(Head(Path(output.name), 4).startsWith(output.magic)) << output.name;
        EXPECT_EQ(QImage(Path(output.name)).size(), QSize(507, 266)) << output.name;
    }
    // An ending that no format has is refused before anything is written.
    const TRun run = Run({"sin(x)", Path("d.png.jpg")});
    EXPECT_EQ(run.Status, 2);
    EXPECT_TRUE(run.Errors.endsWith("\nTry 'orvalis-plot --help'.\n")) << run.Errors.toStdString();
    EXPECT_FALSE(QFile::exists(Path("d.png.jpg")));
}

TEST_F(Renderer, OptionsShapeThePicture)
{
    TRun run = Run({"--size", "300x600", "--polar", "--xlow=0", "--xhigh", "6.3", "--line-width", "3",
                    "--background", "#FFFFFF", "--good=bgr:0xFF0000", "--no-ticks", "--z", "0.5",
                    "sin(4*x)*z", Path("rose.png")});
    ASSERT_EQ(run.Status, 0) << run.Errors.toStdString();
    const QImage rose(Path("rose.png"));
    EXPECT_EQ(rose.size(), QSize(300, 600));
    EXPECT_EQ(rose.pixel(5, 300), qRgb(255, 255, 255)) << "background #FFFFFF";

    // A kept y extent: y = 5 lies on the top edge of the window 0..5.
    run = Run({"--ymin", "0", "--ymax", "5", "--good", "#FF0000", "5", Path("flat.bmp")});
    ASSERT_EQ(run.Status, 0) << run.Errors.toStdString();
    EXPECT_EQ(QImage(Path("flat.bmp")).pixel(100, 35), qRgb(255, 0, 0));
}

TEST_F(Renderer, HelpAndVersionGoToStandardOutput)
{
    TRun run = Run({"--help"});
    EXPECT_EQ(run.Status, 0);
    EXPECT_TRUE(run.Output.startsWith("usage: orvalis-plot")) << run.Output.toStdString();
    EXPECT_TRUE(run.Errors.isEmpty());
    run = Run({"--version"});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Output.toStdString(), "orvalis-plot " ORVALIS_VERSION "\n");

    // Help that never reached a full disk is no success.
    QProcess full;
    full.setStandardOutputFile(QStringLiteral("/dev/full"));
    full.start(QStringLiteral(ORVALIS_PLOT_PATH), {"--help"});
    ASSERT_TRUE(full.waitForFinished(30000));
    EXPECT_EQ(full.exitCode(), 1);
    EXPECT_EQ(QString::fromUtf8(full.readAllStandardError()).toStdString(),
              "orvalis-plot: Cannot write the standard output: No space left on device.\n");
}

TEST_F(Renderer, SvgAndPdfPagesDrawThePictureWithTextsAsText)
{
    ASSERT_EQ(Run({"sqrt(x)", Path("plot.png")}).Status, 0);
    ASSERT_EQ(Run({"sqrt(x)", Path("plot.svg")}).Status, 0);
    ASSERT_EQ(Run({"sqrt(x)", Path("plot.pdf")}).Status, 0);
    const QImage picture = QImage(Path("plot.png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(picture.pixel(100, 133), qRgb(255, 0, 0)) << "the undefined part in the bad colour";

    QFile svg(Path("plot.svg"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&svg);
    QStringList texts;
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("text"))
            texts << xml.readElementText(QXmlStreamReader::IncludeChildElements);
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    for (const char* text : {"Y = sqrt(x)", "X", "Y", "-10", "10", "-4"})
        EXPECT_TRUE(texts.contains(text)) << text << " in " << texts.join('|').toStdString();

    const QStringList pdfTexts = Run({Path("plot.pdf"), "-"}, Tool("pdftotext")).Output.split(QRegularExpression("\\s+"));
    for (const char* text : {"sqrt(x)", "X", "Y", "-10", "10", "-4"})
        EXPECT_TRUE(pdfTexts.contains(text)) << text << " in " << pdfTexts.join('|').toStdString();

    ASSERT_EQ(Run({"-w", "507", "-h", "266", Path("plot.svg"), "-o", Path("svg.png")}, Tool("rsvg-convert")).Status, 0);
    ExpectSameDrawing(QImage(Path("svg.png")).convertToFormat(QImage::Format_RGB32), picture, "SVG");
    ASSERT_EQ(Run({"-r", "96", "-png", "-singlefile", Path("plot.pdf"), Path("pdf")}, Tool("pdftoppm")).Status, 0);
    ExpectSameDrawing(QImage(Path("pdf.png")).convertToFormat(QImage::Format_RGB32), picture, "PDF");
}

TEST_F(Renderer, SweepOfZWritesTheFramesOfSinglePlots)
{
    const QString formula = "z*5*exp(-(x^2))+(1-z)*x";
    const QStringList sweep = {"--z-from", "0", "--z-to", "1", "--frames", "5", formula};
    ASSERT_EQ(Run(sweep + QStringList{Path("sweep.gif")}).Status, 0);
    ASSERT_EQ(Run(QStringList{"--frame-ms", "100"} + sweep + QStringList{Path("slow.gif")}).Status, 0);
    ASSERT_EQ(Run(sweep + QStringList{Path("frame%d.png")}).Status, 0);
    QImageReader gif(Path("sweep.gif"));
    EXPECT_EQ(gif.imageCount(), 5);
    QImageReader slow(Path("slow.gif"));
    slow.read();
    EXPECT_EQ(slow.nextImageDelay(), 100);
    for (int i = 0; i < 5; ++i) {
        const QString z = QString::number(i / 4.0);
        ASSERT_EQ(Run({"--z", z, formula, Path("single.png")}).Status, 0);
        const QImage single = QImage(Path("single.png")).convertToFormat(QImage::Format_RGB32);
        const QImage frame = gif.read().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(gif.nextImageDelay(), 40);
        EXPECT_EQ(frame, single) << "GIF frame " << i << " against z = " << z.toStdString();
        EXPECT_EQ(QImage(Path("frame%1.png").arg(i)).convertToFormat(QImage::Format_RGB32), single) << i;
    }
}

TEST_F(Renderer, SweepFailingAtOneFrameWritesNothing)
{
    // At z = 1 the fitted polar window overflows; the frames before it plot.
    const QStringList sweep = {"--polar", "--z-from", "0", "--z-to", "1", "--frames", "3", "1e308*z"};
    for (const char* name : {"a.gif", "f%d.png", "f%d.svg"}) {
        const TRun run = Run(sweep + QStringList{Path(name)});
        EXPECT_EQ(run.Status, 1) << name;
        EXPECT_EQ(run.Errors.toStdString(), "orvalis-plot: Floating point overflow.\n");
    }
    for (const QStringList& usage : {QStringList{"--z-from", "0", "--z-to", "1", "x", Path("a.gif")},
                                     QStringList{"--z-from", "0", "--z-to", "1", "--frames", "1", "x", Path("a.gif")},
                                     QStringList{"--z-from", "0", "--z-to", "1", "--frames", "2", "x", Path("a.png")}})
        EXPECT_EQ(Run(usage).Status, 2) << usage.join(' ').toStdString();
    EXPECT_EQ(QDir(Folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

// An SVG page is drawn without loading Qt's GUI, whose libraries alone cost
// as much as the rest of such a run; a picture loads them with the painter
// module. A copy of the program without its module says so.
TEST_F(Renderer, OnlyThePainterLoadsQtsGui)
{
    const auto loaded = [this](const QString& program, const QString& output) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LD_DEBUG"), QStringLiteral("files"));
        process.setProcessEnvironment(environment);
        process.start(program, {"sin(x)", Path(output)});
        EXPECT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitCode(), 0) << output.toStdString();
        return QString::fromUtf8(process.readAllStandardError());
    };
    const QString program = QStringLiteral(ORVALIS_PLOT_PATH);
    EXPECT_FALSE(loaded(program, "page.svg").contains("libQt6Gui"));
    EXPECT_TRUE(QFile::exists(Path("page.svg")));
    EXPECT_TRUE(loaded(program, "picture.png").contains("libQt6Gui"));

    const QString alone = Path("alone");
    ASSERT_TRUE(QFile::copy(program, alone));
    const TRun run = Run({"sin(x)", Path("alone.png")}, alone);
    EXPECT_EQ(run.Status, 1);
    EXPECT_TRUE(run.Errors.startsWith("orvalis-plot: Cannot load the drawing module: ")) << run.Errors.toStdString();
    EXPECT_FALSE(QFile::exists(Path("alone.png")));
    EXPECT_EQ(Run({"sin(x)", Path("alone.svg")}, alone).Status, 0);
}

TEST_F(Renderer, UnwritableOutputIsAnErrorAndLeavesNothing)
{
    const QString missing = Path("no/such/folder/plot.png");
    const TRun run = Run({"x", missing});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Errors, "orvalis-plot: Cannot write " + missing + ": No such file or directory.\n");
    EXPECT_FALSE(QFile::exists(missing));
    // A folder in the place of the file.
    QDir(Folder.path()).mkdir("taken");
    EXPECT_EQ(Run({"x", Path("taken")}).Status, 1);
    EXPECT_EQ(QDir(Path("taken")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(), 0);
}

}  // namespace
