// The one file writer under every output: each format written to each kind
// of target (a regular file, a link to one, devices, a FIFO, a full file
// system, a file that fails after some bytes, a write-protected file); the
// frames of a sweep that fails midway; a GIF frame of more colours than a
// palette holds.
#include "plot/output/GifWriter.h"
#include "plot/output/PlotOutput.h"

#include "files/SafeFile.h"
#include "plot/PlotEngine.h"
#include "plot/core/FormulaCompile.h"
#include "RapidEvaluator/RapidEvaluator.h"
#include "settings/Scratch.h"

#include <QBuffer>
#include <QImageReader>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <functional>
#include <set>
#include <thread>

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

struct TFormat {
    const char* Name;
    const char* Ending;
    bool Sweep; // a z sweep of three frames into one animation
};

const TFormat Formats[] = {
    {"BMP", ".bmp", false}, {"PNG", ".png", false}, {"SVG", ".svg", false},
    {"PDF", ".pdf", false}, {"GIF", ".gif", false}, {"GIF sweep", ".gif", true}, {"PPM", ".ppm", false},
};

// A target made ready for one write: its name, and after the write the
// bytes that reached it (through a link or a FIFO) and the tidying up.
struct TPrepared {
    std::string Name;
    std::function<std::string()> Arrived = [] { return std::string(); };
    std::function<void()> Undo = [] {};
};

struct TTarget {
    const char* What;
    // The target, named with the format's ending; an empty Name when this
    // machine cannot make it (the reason in Arrived).
    std::function<TPrepared(const ScratchFolder&, const std::string& ending, std::size_t fullSize)> Prepare;
    const char* Refusal; // the system's reason, or nullptr when the write succeeds
    bool OldFileKept;    // a regular old file whose bytes must survive
};

const std::string OldBytes = "the old picture";

std::string WithOld(const std::string& name)
{
    PutFile(name, OldBytes);
    return name;
}

// A link named for the format to a device, which stays a device.
TPrepared Device(const ScratchFolder& folder, const std::string& ending, const std::string& device)
{
    const std::string link = folder / ("device" + ending);
    fs::create_symlink(device, link);
    return {link, [] { return std::string(); },
            [device] { EXPECT_TRUE(fs::is_character_file(device)) << device << " was replaced"; }};
}

// A file system of 64 kB that is full: an old file in it and a filler
// taking the rest. Needs root (a tmpfs mount).
TPrepared FullFileSystem(const ScratchFolder& folder, const std::string& ending)
{
    const std::string mountPoint = folder / "small";
    fs::create_directory(mountPoint);
    if (::mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0)
        return {"", [] { return std::string("a tmpfs cannot be mounted"); }};
    const std::string old = WithOld(mountPoint + "/old" + ending);
    {
        std::ofstream filler(mountPoint + "/filler", std::ios::binary);
        const std::string block(4096, 'f');
        while (filler.write(block.data(), block.size()) && filler.flush()) {
        }
    }
    return {old, [old] { return FileText(old); },
            [mountPoint, old] {
                std::set<std::string> names;
                for (const auto& entry : fs::directory_iterator(mountPoint))
                    names.insert(entry.path().filename());
                EXPECT_EQ(names, (std::set<std::string>{fs::path(old).filename(), "filler"}))
                    << "left on the full file system";
                ::umount(mountPoint.c_str());
            }};
}

// A regular file that can take only half of the output: the writes after
// that fail with "File too large", as a full disk would mid-file.
TPrepared FailingAfterHalf(const ScratchFolder& folder, const std::string& ending, std::size_t fullSize)
{
    const std::string name = WithOld(folder / ("old" + ending));
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit half = old;
    half.rlim_cur = fullSize / 2;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &half);
    return {name, [name] { return FileText(name); },
            [old, oldHandler] {
                ::setrlimit(RLIMIT_FSIZE, &old);
                std::signal(SIGXFSZ, oldHandler);
            }};
}

// A FIFO with a reader taking everything written to it.
TPrepared Fifo(const ScratchFolder& folder, const std::string& ending)
{
    const std::string name = folder / ("pipe" + ending);
    ::mkfifo(name.c_str(), 0600);
    auto arrived = std::make_shared<std::string>();
    auto reader = std::make_shared<std::thread>([name, arrived] { *arrived = FileText(name); });
    return {name, [reader, arrived] {
                reader->join();
                return *arrived;
            }};
}

class FileWriterTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(CompileForPlot(Evaluator, Request.Formula, "\n"));
    }

    // WritePlotOutput's message, empty when it succeeds.
    std::string Write(const TFormat& format, const std::string& name)
    {
        Engine.View().ResetView = true;
        std::optional<TAnimation> animation;
        if (format.Sweep)
            animation = TAnimation{{0, 1, 3}, 40};
        try {
            WritePlotOutput(Engine, Evaluator, Request, QString::fromStdString(name), animation);
        } catch (const std::exception& error) {
            return error.what();
        }
        return "";
    }

    TPlotRequest Request = [] {
        TPlotRequest request;
        request.Formula = "z*sin(x)+x/4";
        return request;
    }();
    TPlotEngine Engine;
    TRapidEvaluator Evaluator;
};

// The bytes of a written file, with what makes each PDF unique left out:
// the moment of its making and, in newer Qt, its document identifiers.
std::string Comparable(const std::string& bytes)
{
    static const QRegularExpression unique[] = {
        QRegularExpression(QStringLiteral("\\(D:[0-9Z+'-]*\\)")),
        QRegularExpression(QStringLiteral("<xmp:(\\w+)>[^<]*</xmp:\\1>")),
        QRegularExpression(QStringLiteral("uuid:[0-9A-Fa-f-]+")),
        QRegularExpression(QStringLiteral("/ID *\\[[^\\]]*\\]")),
    };
    QString text = QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    for (const QRegularExpression& pattern : unique)
        text.replace(pattern, QString());
    return text.toLatin1().toStdString();
}

TEST_F(FileWriterTest, EachFormatToEachKindOfTarget)
{
    using TFolder = const ScratchFolder&;
    using TEnding = const std::string&;
    const TTarget targets[] = {
        {"regular file", [](TFolder f, TEnding ending, std::size_t) {
             const std::string name = WithOld(f / ("old" + ending));
             return TPrepared{name, [name] { return FileText(name); }};
         }, nullptr, false},
        {"link to a regular file", [](TFolder f, TEnding ending, std::size_t) {
             const std::string file = WithOld(f / "old"), link = f / ("link" + ending);
             fs::create_symlink(file, link);
             return TPrepared{link, [file] { return FileText(file); }};
         }, nullptr, false},
        {"/dev/null", [](TFolder f, TEnding ending, std::size_t) { return Device(f, ending, "/dev/null"); },
         nullptr, false},
        {"/dev/full", [](TFolder f, TEnding ending, std::size_t) { return Device(f, ending, "/dev/full"); },
         "No space left on device", false},
        {"FIFO", [](TFolder f, TEnding ending, std::size_t) { return Fifo(f, ending); }, nullptr, false},
        {"full file system", [](TFolder f, TEnding ending, std::size_t) { return FullFileSystem(f, ending); },
         "No space left on device", true},
        {"fails after half the bytes",
         [](TFolder f, TEnding ending, std::size_t size) { return FailingAfterHalf(f, ending, size); },
         "File too large", true},
        {"write-protected file", [](TFolder f, TEnding ending, std::size_t) {
             const std::string name = WithOld(f / ("old" + ending));
             ::chmod(name.c_str(), 0444);
             return TPrepared{name, [name] { return FileText(name); }};
         }, "Permission denied", true},
    };
    const auto namesIn = [](const ScratchFolder& folder) {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder.Path()))
            names.insert(entry.path().filename());
        return names;
    };
    std::string skipped;
    for (const TFormat& format : Formats) {
        std::string reference; // what the regular file received, the first row
        for (const TTarget& target : targets) {
            const std::string what = std::string(format.Name) + " to " + target.What;
            ScratchFolder folder;
            const TPrepared prepared = target.Prepare(folder, format.Ending, reference.size());
            if (prepared.Name.empty()) {
                skipped += " " + what + " (" + prepared.Arrived() + ")";
                continue;
            }
            const fs::file_type type = fs::symlink_status(prepared.Name).type();
            const std::set<std::string> before = namesIn(folder);

            const std::string message = Write(format, prepared.Name);
            const std::string arrived = prepared.Arrived();
            EXPECT_EQ(fs::symlink_status(prepared.Name).type(), type) << what << ": the target was replaced";
            prepared.Undo();

            if (target.Refusal) {
                EXPECT_EQ(message, "Cannot write " + prepared.Name + ": " + target.Refusal) << what;
                if (target.OldFileKept) {
                    EXPECT_TRUE(arrived == OldBytes) << what << ": " << arrived.size() << " bytes";
                }
            } else {
                EXPECT_EQ(message, "") << what;
                if (reference.empty()) {
                    reference = arrived;
                } else if (target.What != std::string("/dev/null")) {
                    EXPECT_TRUE(Comparable(arrived) == Comparable(reference))
                        << what << ": " << arrived.size() << " bytes for " << reference.size();
                }
            }
            EXPECT_EQ(namesIn(folder), before) << what << ": files left behind or taken away";
        }
        // The regular file holds the format's file: the one plot as the
        // renderer makes it in memory, or an animation of three frames.
        if (format.Sweep) {
            QByteArray bytes = QByteArray::fromStdString(reference);
            QBuffer buffer(&bytes);
            EXPECT_EQ(QImageReader(&buffer, "gif").imageCount(), 3) << format.Name;
        } else {
            Engine.View().ResetView = true;
            const QByteArray inMemory = PlotFile(Engine, Evaluator, Request, *OutputFormatOf(format.Ending));
            EXPECT_TRUE(Comparable(reference) == Comparable(inMemory.toStdString()))
                << format.Name << ": " << reference.size() << " bytes for " << inMemory.size();
        }
    }
    if (!skipped.empty())
        GTEST_SKIP() << "not made on this machine:" << skipped;
}

// The third of four frames cannot be written (a folder holds its name): the
// two staged before it go, and the frames of an earlier run stay as they were.
TEST_F(FileWriterTest, ASweepThatFailsMidwayLeavesNoneOfItsFrames)
{
    ScratchFolder folder;
    PutFile(folder / "frame0.png", OldBytes);
    PutFile(folder / "frame1.png", OldBytes);
    fs::create_directory(folder / "frame2.png");
    Engine.View().ResetView = true;
    try {
        WritePlotOutput(Engine, Evaluator, Request, QString::fromStdString(folder / "frame%d.png"),
                        TAnimation{{0, 1, 4}, 40});
        ADD_FAILURE() << "the sweep did not fail";
    } catch (const EFileWriteError& error) {
        EXPECT_EQ(error.Message(), "Cannot write " + folder / "frame2.png" + ": Is a directory");
    }
    EXPECT_EQ(FileText(folder / "frame0.png"), OldBytes);
    EXPECT_EQ(FileText(folder / "frame1.png"), OldBytes);
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.Path()))
        names.insert(entry.path().filename());
    EXPECT_EQ(names, (std::set<std::string>{"frame0.png", "frame1.png", "frame2.png"}));
}

int Distance(QRgb a, QRgb b)
{
    const int r = qRed(a) - qRed(b), g = qGreen(a) - qGreen(b), bl = qBlue(a) - qBlue(b);
    return r * r + g * g + bl * bl;
}

// 256 colours of 4 pixels each and 44 of one pixel: the 256 keep their
// colours exactly, each of the others takes one of the 256 nearest to it.
TEST(GifWriterTest, AFrameOfMoreThan256ColoursTakesTheNearestCommonColourForTheRest)
{
    QImage frame(64, 17, QImage::Format_RGB32);
    std::vector<QRgb> common;
    for (int i = 0; i < 256; ++i)
        common.push_back(qRgb(i, (i * 37) % 256, (i * 91) % 256));
    for (int p = 0; p < 64 * 16; ++p)
        frame.setPixel(p % 64, p / 64, common[p / 4]);
    constexpr int Rare = 44;
    for (int x = 0; x < 64; ++x) {
        const QRgb rare = qRgb((x * 5 + 3) % 256, (x * 53 + 7) % 256, 255 - x);
        ASSERT_EQ(std::count(common.begin(), common.end(), rare), 0);
        frame.setPixel(x, 16, x < Rare ? rare : common[0]);
    }

    QByteArray bytes;
    TGifWriter gif(frame.size(), 0, [&bytes](std::string_view part) { bytes.append(part.data(), part.size()); });
    gif.AddFrame(frame);
    gif.Finish();
    QBuffer buffer(&bytes);
    const QImage read = QImageReader(&buffer, "gif").read().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(read.size(), frame.size());
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ(read.pixel(x, y), frame.pixel(x, y)) << x << ", " << y;
    for (int x = 0; x < Rare; ++x) {
        const QRgb wanted = frame.pixel(x, 16), got = read.pixel(x, 16);
        int nearest = Distance(common[0], wanted);
        for (QRgb c : common)
            nearest = std::min(nearest, Distance(c, wanted));
        EXPECT_EQ(std::count(common.begin(), common.end(), got), 1) << "pixel " << x << " has no common colour";
        EXPECT_EQ(Distance(got, wanted), nearest) << "pixel " << x;
    }
}

} // namespace
