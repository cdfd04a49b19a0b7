// orvalis-plot's whole run in-process, from the words of a command line to
// the file and the texts: the status and message of each failure, with
// nothing written, and the colours of the picture.
#include "RunLine.h"
#include "plot/cli/PainterRenderer.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cctype>

namespace {


class RendererRun : public testing::Test {
protected:
    QTemporaryDir Folder;

    std::string Path(const char* name) const { return Folder.filePath(QString::fromUtf8(name)).toStdString(); }
    QStringList Written() const { return QDir(Folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries); }
};

TEST_F(RendererRun, FailuresEndWithTheirStatusAndWriteNothing)
{
    const struct { TWords words; int status; const char* message; } cases[] = {
        {{"x+"}, 2, "The formula is not valid at character 3.\nSyntax error\n"},
        {{""}, 2, "The formula is not valid at character 1.\nEmpty expression\n"},
        {{"1e400*x"}, 2, "The formula is not valid at character 6.\nFloating point overflow\n"},
        {{"pi*x"}, 2, "The formula is not valid at character 4.\n\"(\" expected but \"*\" found\n"
                      "Orvalis writes the number pi as pi().\n"},
        // Of several formulas, the one that fails is named by its number.
        {{"sin(x)", "x+"}, 1, "orvalis-plot: formula 2 is not valid at character 3: Syntax error\n"},
        {{"x+", "sin(x)", "cos(x)"}, 1, "orvalis-plot: formula 1 is not valid at character 3: Syntax error\n"},
        {{"x", "x", "pi*x"}, 1, "orvalis-plot: formula 3 is not valid at character 4: \"(\" expected but \"*\" "
                                "found\nOrvalis writes the number pi as pi().\n"},
        // A text that is no number, named by its option.
        {{"--xlow", "abc", "x"}, 1, "orvalis-plot: --xlow: 'abc' is not a valid floating point value.\n"},
        {{"--xhigh", "1e400", "x"}, 1, "orvalis-plot: --xhigh: Floating point overflow.\n"},
        {{"--z", "z", "x"}, 1, "orvalis-plot: --z: 'z' is not a valid floating point value.\n"},
        {{"--polar", "--xlow", "0", "--xhigh", "1,5.", "x"}, 1,
         "orvalis-plot: --xhigh: '1,5.' is not a valid floating point value.\n"},
        {{"--ymin", "-1", "--ymax", "e", "x"}, 1, "orvalis-plot: --ymax: 'e' is not a valid floating point value.\n"},
        {{"--ymin", "", "--ymax", "1", "x"}, 1, "orvalis-plot: --ymin: '' is not a valid floating point value.\n"},
        {{"--polar", "--xmin", "1e999", "--xmax", "1", "--ymin", "0", "--ymax", "1", "x"}, 1,
         "orvalis-plot: --xmin: Floating point overflow.\n"},
        {{"--polar", "--xmin", "0", "--xmax", "x", "--ymin", "0", "--ymax", "1", "x"}, 1,
         "orvalis-plot: --xmax: 'x' is not a valid floating point value.\n"},
        {{"--z-from", "a", "--z-to", "1", "--frames", "2", "x"}, 1,
         "orvalis-plot: --z-from: 'a' is not a valid floating point value.\n"},
        {{"--z-from", "0", "--z-to", "-1e400", "--frames", "2", "x"}, 1,
         "orvalis-plot: --z-to: Floating point overflow.\n"},
        // Empty ranges, which the plot would divide by, named by their options.
        {{"--xlow", "1", "--xhigh", "1.0", "x"}, 1,
         "orvalis-plot: The x range is empty: --xlow 1 and --xhigh 1.0 are the same number.\n"},
        {{"--ymin", "2", "--ymax", "2e0", "x"}, 1,
         "orvalis-plot: The y range is empty: --ymin 2 and --ymax 2e0 are the same number.\n"},
        {{"--polar", "--xmin", "1", "--xmax", "1", "--ymin", "0", "--ymax", "1", "x"}, 1,
         "orvalis-plot: The x range is empty: --xmin 1 and --xmax 1 are the same number.\n"},
        // Bad usage: the reason, then where to read the usage.
        {{"--size", "79x100", "x"}, 2, nullptr},
        {{"--color", "1", "x"}, 2, nullptr},
        {{"--good", "0xFF0000", "x"}, 2, nullptr},
        {{"--ymin", "1", "x"}, 2, nullptr},
        {{"--polar", "--ymin", "1", "--ymax", "2", "x"}, 2, nullptr},
        {{"--polar=1", "x"}, 2, nullptr},
        {{"--line-width", "0", "x"}, 2, nullptr},
        {{"--line-width", "500", "x"}, 2, nullptr},
    };
    for (const auto& c : cases)
        for (const char* name : {"out.png", "out.bmp", "out.gif", "out.svg", "out.pdf", "out.ppm", "f%d.png"}) {
            TWords words = c.words;
            // A sweep goes to a GIF or numbered frames, and only a sweep to
            // numbered frames.
            const bool sweep = words[0] == "--z-from";
            const bool frames = std::string(name).find("%d") != std::string::npos;
            if (frames != sweep && !(sweep && std::string(name).ends_with(".gif")))
                continue;
            words.push_back(Path(name));
            const TRendererOutcome outcome = RunLine(words);
            EXPECT_EQ(outcome.Status, c.status) << c.words[0] << " " << name;
            if (c.message)
                EXPECT_EQ(outcome.Errors, c.message) << name;
            else
                EXPECT_TRUE(outcome.Errors.ends_with("\nTry 'orvalis-plot --help'.\n")) << outcome.Errors;
            EXPECT_EQ(Written(), QStringList()) << c.words[0] << " " << name;
        }
}

TEST_F(RendererRun, SizesBeyondAPicturesLimitAreRefusedBeforeDrawingButMakePages)
{
    const struct { const char* name; int status; } cases[] = {
        {"wide.png", 2}, {"wide.bmp", 2}, {"wide.gif", 2}, {"wide.svg", 0}, {"wide.pdf", 0}};
    for (const auto& c : cases) {
        const TRendererOutcome outcome = RunLine({"--size", "19200x80", "x", Path(c.name)});
        EXPECT_EQ(outcome.Status, c.status) << c.name << ": " << outcome.Errors;
    }
    EXPECT_EQ(Written(), QStringList({"wide.pdf", "wide.svg"}));
}

TEST_F(RendererRun, AnOutputThatCannotBeWrittenIsAPlotErrorNamingIt)
{
    for (const char* name : {"no/such/folder/plot.png", "no/such/folder/plot.pdf", "no/such/folder/f%d.svg"}) {
        TWords words = {"x", Path(name)};
        if (std::string(name).ends_with(".svg"))
            words.insert(words.begin(), {"--z-from", "0", "--z-to", "1", "--frames", "2"});
        const TRendererOutcome outcome = RunLine(words);
        EXPECT_EQ(outcome.Status, ExitFailure) << name;
        EXPECT_TRUE(outcome.Errors.starts_with("orvalis-plot: ")) << outcome.Errors;
        EXPECT_NE(outcome.Errors.find(Path("no/such/folder/")), std::string::npos) << outcome.Errors;
    }
    EXPECT_EQ(Written(), QStringList());
}

TEST_F(RendererRun, AnUnknownEndingIsRefusedAndANameWithoutOneIsBmp)
{
    for (const char* name : {"out.jpg", "out.tiff", "out.", "plot.png.jpeg"}) {
        const TRendererOutcome outcome = RunLine({"x", Path(name)});
        EXPECT_EQ(outcome.Status, ExitUsage) << name;
        EXPECT_TRUE(outcome.Errors.starts_with("orvalis-plot: OUTPUT '" + Path(name) + "' ends in ")) << outcome.Errors;
        EXPECT_NE(outcome.Errors.find(".bmp, .png, .svg, .pdf, .gif, .ppm, .wav and .tex"), std::string::npos) << outcome.Errors;
    }
    EXPECT_EQ(Written(), QStringList());

    ASSERT_TRUE(QDir(Folder.path()).mkdir(QStringLiteral("dir.v2")));
    const TRendererOutcome outcome = RunLine({"x", Path("dir.v2/out")});
    ASSERT_EQ(outcome.Status, 0) << outcome.Errors;
    QFile file(QString::fromStdString(Path("dir.v2/out")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(2) == "BM");
}

// A binary PPM read by its definition: "P6", width, height and the largest
// value as text, one blank, then the pixels' red, green and blue bytes.
QImage ReadPpm(const QByteArray& bytes)
{
    qsizetype at = 0;
    const auto field = [&] {
        while (at < bytes.size() && std::isspace(static_cast<unsigned char>(bytes[at])))
            ++at;
        const qsizetype start = at;
        while (at < bytes.size() && !std::isspace(static_cast<unsigned char>(bytes[at])))
            ++at;
        return bytes.mid(start, at - start);
    };
    if (field() != "P6")
        return {};
    const int width = field().toInt(), height = field().toInt();
    if (field() != "255" || bytes.size() - (at + 1) != qsizetype(width) * height * 3)
        return {};
    QImage picture(width, height, QImage::Format_RGB32);
    const auto* pixel = reinterpret_cast<const unsigned char*>(bytes.constData() + at + 1);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x, pixel += 3)
            picture.setPixel(x, y, qRgb(pixel[0], pixel[1], pixel[2]));
    return picture;
}

TEST_F(RendererRun, PpmHoldsThePictureThatPngHolds)
{
    const TWords line = {"--size", "300x150", "--good", "#FF8000", "--background", "darkblue", "sin(3*x)"};
    for (const char* name : {"plot.ppm", "plot.png"}) {
        TWords words = line;
        words.push_back(Path(name));
        ASSERT_EQ(RunLine(words).Status, 0) << name;
    }
    QFile file(QString::fromStdString(Path("plot.ppm")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QImage ppm = ReadPpm(file.readAll());
    ASSERT_EQ(ppm.size(), QSize(300, 150));
    EXPECT_EQ(ppm, QImage(QString::fromStdString(Path("plot.png"))).convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(ppm.pixel(2, 2), qRgb(0, 0, 139));
}

// Every frame of a sweep of z draws every curve at that frame's z.
TEST_F(RendererRun, SweepOfSeveralFormulasDrawsEachCurveInEachFrame)
{
    const TRendererOutcome outcome = RunLine({"--z-from", "1", "--z-to", "3", "--frames", "3", "--ymin", "0", "--ymax",
                                              "5", "--legend", "none", "z", "z+1", Path("f%d.png")});
    ASSERT_EQ(outcome.Status, 0) << outcome.Errors;
    const QRgb second = qRgb(0xE6, 0x9F, 0x00);  // the palette's colour after black
    for (int frame = 0; frame < 3; ++frame) {
        const QImage picture(QString::fromStdString(Path(("f" + std::to_string(frame) + ".png").c_str())));
        // 196 pixels for 5 units from row 35: y at row 231 − 39.2 y, rounded.
        const auto near = [&](double y, QRgb colour) {
            const int row = 231 - static_cast<int>(y * 39.2);
            return picture.pixel(100, row - 1) == colour || picture.pixel(100, row) == colour ||
                   picture.pixel(100, row + 1) == colour;
        };
        const int z = frame + 1;
        EXPECT_TRUE(near(z, qRgb(0, 0, 0))) << frame;
        EXPECT_TRUE(near(z + 1, second)) << frame;
        EXPECT_FALSE(near(z + 2, second)) << frame;
    }
}

TEST_F(RendererRun, ColoursDrawRedGreenBlue)
{
    // y = 5 lies on the top edge of the kept window 0..5, at row 35.
    for (const char* colour : {"#FF0000", "#f00", "red", "bgr:0x0000FF", "bgr:255"}) {
        const std::string file = Path("flat.png");
        const TRendererOutcome outcome = RunLine({"--ymin", "0", "--ymax", "5", "--good", colour, "--background",
                                              "darkblue", "5", file});
        ASSERT_EQ(outcome.Status, 0) << colour << ": " << outcome.Errors;
        const QImage picture(QString::fromStdString(file));
        EXPECT_EQ(picture.pixel(100, 35), qRgb(255, 0, 0)) << colour;
        EXPECT_EQ(picture.pixel(100, 100), qRgb(0, 0, 139)) << colour;
    }
}

}  // namespace
