// orvalis-plot's WAV files read back by sox, from a copy of the program
// without its painter module: the format and length, the pitch rising with
// y = x, the stereo position following x, silence where sqrt(x) is undefined,
// and the refusals of --seconds.
#include "ExternalTool.h"
#include "ProgramAlone.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

class SoundProgram : public ProgramAlone {
protected:
    QString Path(const char* name) const { return Folder.filePath(QString::fromLatin1(name)); }

    struct TRun {
        int Status;
        QByteArray Output, Errors;
    };
    TRun Run(const QStringList& arguments) const
    {
        QProcess process;
        process.start(Alone, arguments);
        EXPECT_TRUE(process.waitForFinished(30000));
        return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
    }

    // A sound of FORMULA over -1..1, unless the options give a range, written
    // to `name`.
    QString Sound(const char* formula, const char* name, const QStringList& options = {}) const
    {
        const QStringList arguments = QStringList{"--xlow", "-1", "--xhigh", "1"} + options +
                                      QStringList{QString::fromLatin1(formula), Path(name)};
        const TRun run = Run(arguments);
        EXPECT_EQ(run.Status, 0) << run.Errors.toStdString();
        return Path(name);
    }

    static QByteArray Sox(const char* program, const QStringList& arguments)
    {
        // sox writes its statistics to standard error.
        const TToolRun run = RunTool(program, arguments);
        return run.Output + run.Errors;
    }

    // The channels as sox decodes them, after its `effects`: interleaved
    // signed 16-bit values.
    static std::vector<std::int16_t> Decoded(const QString& file, const QStringList& effects = {})
    {
        const QByteArray raw = Sox("sox", QStringList{file, QStringLiteral("-t"), QStringLiteral("s16"),
                                                      QStringLiteral("-L"), QStringLiteral("-")} + effects);
        std::vector<std::int16_t> values(raw.size() / 2);
        std::memcpy(values.data(), raw.data(), values.size() * 2);
        return values;
    }

    // "RMS     amplitude:     0.157739" from sox's stat of one channel over
    // a stretch of seconds.
    static double Statistic(const QString& file, const char* channels, double from, double length, const char* name)
    {
        const QString text = QString::fromUtf8(Sox("sox", {file, QStringLiteral("-n"), QStringLiteral("remix"), QString::fromLatin1(channels),
                                         QStringLiteral("trim"), QString::number(from), QString::number(length),
                                         QStringLiteral("stat")}));
        const qsizetype at = text.indexOf(QString::fromLatin1(name));
        EXPECT_GE(at, 0) << text.toStdString();
        return text.mid(text.indexOf(u':', at) + 1).section(u'\n', 0, 0).trimmed().toDouble();
    }
};

TEST_F(SoundProgram, FormatAndLengthAsSoxReadsThem)
{
    const struct { QStringList options; const char* frames; } cases[] = {
        {{}, "132300"},
        {{"--seconds", "5"}, "220500"},
        {{"--seconds", "1"}, "44100"},
    };
    for (const auto& c : cases) {
        const QString file = Sound("x", "length.wav", c.options);
        EXPECT_EQ(QString::fromUtf8(Sox("soxi", {QStringLiteral("-c"), file})).trimmed(), QStringLiteral("2"));
        EXPECT_EQ(QString::fromUtf8(Sox("soxi", {QStringLiteral("-r"), file})).trimmed(), QStringLiteral("44100"));
        EXPECT_EQ(QString::fromUtf8(Sox("soxi", {QStringLiteral("-b"), file})).trimmed(), QStringLiteral("16"));
        EXPECT_EQ(QString::fromUtf8(Sox("soxi", {QStringLiteral("-e"), file})).trimmed(), QStringLiteral("Signed Integer PCM"));
        EXPECT_EQ(QString::fromUtf8(Sox("soxi", {QStringLiteral("-s"), file})).trimmed(), QLatin1StringView(c.frames));
    }
    // Standard output gets the same bytes.
    const TRun run = Run({"--format", "wav", "--xlow", "-1", "--xhigh", "1", "x", "-"});
    ASSERT_EQ(run.Status, 0) << run.Errors.toStdString();
    QFile written(Sound("x", "same.wav"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(run.Output, written.readAll());
}

TEST_F(SoundProgram, PitchRisesFrom220To880AlongX)
{
    const std::vector<std::int16_t> pcm =
        Decoded(Sound("x", "rising.wav", {"--ymin", "-1", "--ymax", "1"}));
    const std::size_t frames = pcm.size() / 2;
    ASSERT_EQ(frames, 132300u);
    for (int w = 0; w < 10; ++w) {
        // A margin at each end keeps the root's tick out of the count.
        const double t0 = w / 10.0 + 0.01, t1 = (w + 1) / 10.0 - 0.01;
        int changes = 0, last = 0;
        for (auto i = static_cast<std::size_t>(t0 * frames); i < static_cast<std::size_t>(t1 * frames); ++i) {
            const int mono = pcm[2 * i] + pcm[2 * i + 1];
            const int sign = (mono > 0) - (mono < 0);
            changes += sign && last && sign != last;
            last = sign ? sign : last;
        }
        const double measured = changes / (2 * 3.0 * (t1 - t0));
        // 220·4^t's mean over the window, t the position across -1..1.
        const double expected = 220 * (std::pow(4.0, t1) - std::pow(4.0, t0)) / (std::log(4.0) * (t1 - t0));
        EXPECT_NEAR(measured / expected, 1.0, 0.02) << "window " << w << ": " << measured << " Hz";
    }
}

TEST_F(SoundProgram, StereoFollowsXAndUndefinedIsSilent)
{
    const QString sine = Sound("sin(x)", "sine.wav", {"--xlow", "-10", "--xhigh", "10"});
    EXPECT_GT(Statistic(sine, "1", 0, 0.75, "RMS     amplitude"), 3 * Statistic(sine, "2", 0, 0.75, "RMS     amplitude"));
    EXPECT_GT(Statistic(sine, "2", 2.25, 0.75, "RMS     amplitude"), 3 * Statistic(sine, "1", 2.25, 0.75, "RMS     amplitude"));

    // sqrt(x) is undefined over the first half: nothing sounds there, then
    // the click and the tone where it begins.
    const QString root = Sound("sqrt(x)", "root.wav");
    for (const char* channel : {"1", "2"})
        EXPECT_EQ(Statistic(root, channel, 0, 1.49, "Maximum amplitude"), 0.0) << channel;
    EXPECT_GT(Statistic(root, "1", 1.49, 0.02, "Maximum amplitude"), 0.05);
    EXPECT_GT(Statistic(root, "2", 2.0, 1.0, "RMS     amplitude"), 0.1);
}

TEST_F(SoundProgram, SineTicksAtItsSevenRootsAndIsASquareBelowZero)
{
    const QString sine = Sound("sin(x)", "sine.wav", {"--xlow", "-10", "--xhigh", "10"});
    // Around the ticks' pitch the tone is faint: each loud burst is a tick.
    const std::vector<std::int16_t> band = Decoded(sine, {"remix", "1,2", "sinc", "1500-2100"});
    std::vector<double> ticks;
    std::size_t last = 0;
    for (std::size_t i = 0; i < band.size(); ++i)
        if (std::abs(band[i]) > 0.06 * 32767) {
            if (ticks.empty() || i - last > 4410)
                ticks.push_back(i / 44100.0);
            last = i;
        }
    ASSERT_EQ(ticks.size(), 7u);
    for (std::size_t k = 0; k < ticks.size(); ++k)
        EXPECT_NEAR(ticks[k], ((static_cast<double>(k) - 3) * M_PI + 10) / 20 * 3, 0.01) << k;
    // The middle of each hump: a square's peak is its RMS, a sine's √2 times it.
    for (int k = -3; k < 3; ++k) {
        const double middle = ((k + 0.5) * M_PI + 10) / 20 * 3;
        const double crest = Statistic(sine, "1,2", middle - 0.03, 0.06, "Maximum amplitude") /
                             Statistic(sine, "1,2", middle - 0.03, 0.06, "RMS     amplitude");
        EXPECT_NEAR(crest, k % 2 ? 1.0 : std::sqrt(2.0), 0.05) << "hump " << k;
    }
}

TEST_F(SoundProgram, RefusesWhatASoundCannotBe)
{
    const struct { QStringList arguments; const char* message; } cases[] = {
        {{"--seconds", "0", "x", "a.wav"}, "--seconds takes an integer from 1 to 30, not '0'"},
        {{"--seconds", "31", "x", "a.wav"}, "--seconds takes an integer from 1 to 30, not '31'"},
        {{"--seconds", "2.5", "x", "a.wav"}, "--seconds takes an integer from 1 to 30, not '2.5'"},
        {{"--seconds", "3", "x", "a.png"}, "--seconds is the length of a sound"},
        {{"--seconds", "3", "--points", "x", "a.csv"}, "--seconds is the length of a sound"},
        {{"x", "sin(x)", "a.wav"}, "a sound plays one formula"},
        {{"--z-from", "0", "--z-to", "1", "--frames", "2", "x", "a%d.wav"}, "a sweep of z writes pictures"},
    };
    for (const auto& c : cases) {
        QStringList arguments = c.arguments;
        arguments.last() = Path(arguments.last().toLatin1().constData());
        const TRun run = Run(arguments);
        EXPECT_EQ(run.Status, 2) << c.message;
        EXPECT_TRUE(run.Errors.contains(c.message)) << run.Errors.toStdString();
        EXPECT_EQ(QDir(Folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("alone")}) << c.message;
    }
}

}  // namespace
