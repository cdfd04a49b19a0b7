// The curve played as sound from the window: the menu item and the keys, the
// one line said where there is no sound device, and the PCM handed to the
// output measured against the plot shown and the length the Preferences set.
#include "WindowFixture.h"

#include "window/SoundPlayback.h"

#include <QApplication>
#include <QAudioDevice>
#include <QFile>
#include <QKeyEvent>
#include <QMediaDevices>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <set>

namespace {

// Counts the Esc presses that reach a widget.
class TEscapeCount : public QObject {
public:
    int Count = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        Count += event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
        return false;
    }
};

class PlayAsSound : public WindowFixture {
protected:
    QLabel* Readout() const { return Control<QLabel>("mousePosition"); }
    TSoundPlayback& Playback() const { return Window->Playback(); }
    // Without a device nothing plays and the readout line says so; with one
    // the sound plays.
    void ExpectPlayedOrSaid(const char* how) const
    {
        if (QMediaDevices::audioOutputs().isEmpty()) {
            EXPECT_EQ(Readout()->text(), NoSoundDeviceText) << how;
            EXPECT_FALSE(Playback().Playing()) << how;
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
            // and heard: the picture's notification says it.
            EXPECT_EQ(Graph().findChild<QWidget*>("PlotViewNotice")->accessibleName(), NoSoundDeviceText) << how;
#endif
        } else {
            EXPECT_TRUE(Playback().Playing()) << how;
        }
    }
    // The left channel's pitch over the middle second, from its rising zero
    // crossings.
    double MiddlePitch() const
    {
        const auto* pcm = reinterpret_cast<const std::int16_t*>(Playback().Pcm().constData());
        const qsizetype frames = Playback().Pcm().size() / 4;
        int rising = 0;
        for (qsizetype frame = frames / 2 - SoundFrameRate / 2 + 1; frame < frames / 2 + SoundFrameRate / 2; ++frame)
            rising += pcm[2 * (frame - 1)] < 0 && pcm[2 * frame] >= 0;
        return rising;
    }
    // The pitch a value sounds at in the view shown.
    double PitchOf(double y) const
    {
        const TViewWindow& view = Graph().Shown().View;
        const double share = std::clamp((y - view.YMin) / (view.YMax - view.YMin), 0.0, 1.0);
        return LowestPitchHz * std::pow(HighestPitchHz / LowestPitchHz, share);
    }
};

TEST_F(PlayAsSound, TheMenuItemAndPOnThePictureStartItOrSayThereIsNoDevice)
{
    Open();
    auto* item = Control<QAction>("PlayAsSound1");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), "Play as sound");
    const QList<QAction*> curve = Control<QMenu>("Curve1")->actions();
    ASSERT_GE(curve.indexOf(item), 1);
    EXPECT_EQ(curve[curve.indexOf(item) - 1]->objectName(), "TableOfValues1");
    // Its key is the only one of its kind in the window and not Print's.
    EXPECT_EQ(item->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    std::set<QString> keys;
    for (QAction* action : Window->findChildren<QAction*>()) {
        if (!action->shortcut().isEmpty()) {
            EXPECT_TRUE(keys.insert(action->shortcut().toString()).second) << action->shortcut().toString().toStdString();
        }
    }
    EXPECT_FALSE(keys.count(QKeySequence(Qt::CTRL | Qt::Key_P).toString()));

    Choose("PlayAsSound1");
    ExpectPlayedOrSaid("from the menu");
    Playback().Stop();
    Readout()->clear();
    Graph().setFocus();
    QTest::keyClick(&Graph(), Qt::Key_P);
    Settle();
    ExpectPlayedOrSaid("from P on the picture");
    // While nothing plays, Esc goes where it went before.
    Playback().Stop();
    TEscapeCount escapes;
    Graph().installEventFilter(&escapes);
    QTest::keyClick(&Graph(), Qt::Key_Escape);
    EXPECT_EQ(escapes.Count, 1);
    EXPECT_EQ(Playback().Pcm().size(), qsizetype{DefaultSoundSeconds} * SoundFrameRate * SoundChannels * 2);
}

// The Preferences set 5 s, kept in the settings file; each play is the curve
// shown at that moment, so its pitch follows z as the slider moves.
TEST_F(PlayAsSound, ThePcmIsTheShownCurveForThePreferencesLengthAndFollowsZ)
{
    WriteSettingsFile("[Main]\nYFormula=4*z\nZ=300\n");
    Open();
    bool answered = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* box = dialog->findChild<QSpinBox*>("SoundSecondsBox");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->value(), DefaultSoundSeconds);
        box->setValue(40);
        EXPECT_EQ(box->value(), MaxSoundSeconds) << "kept within its limits";
        box->setValue(5);
        QTest::mouseClick(dialog->findChild<QPushButton*>("OKBtn"), Qt::LeftButton);
        answered = true;
    });
    Choose("Preferences1");
    ASSERT_TRUE(answered);

    for (const int position : {300, 800}) {
        Control<QSlider>("TrackBar1")->setValue(position);
        Settle();
        Choose("PlayAsSound1");
        Playback().Stop();
        ASSERT_EQ(Playback().Pcm().size(), qsizetype{5} * SoundFrameRate * SoundChannels * 2) << position;
        const double expected = PitchOf(4 * position / 1000.0);
        EXPECT_NEAR(MiddlePitch(), expected, expected * 0.01) << position;
    }

    // The seam the PCM is made from: the samples and roots of the plot shown.
    Control<QLineEdit>("YFormula")->setText("sin(x)");
    Click("PlotBtn");
    const TCurveSound sound = ShownCurveSound(Graph(), 5);
    EXPECT_EQ(sound.Samples, &Window->Engine().Samples());
    EXPECT_EQ(sound.Roots.size(), 7u);
    EXPECT_EQ(sound.Low, -10);
    EXPECT_EQ(sound.High, 10);

    Window.reset();
    QFile file(QString::fromStdString(SettingsPath()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("\nSoundSeconds=5\n"));
}

}  // namespace
