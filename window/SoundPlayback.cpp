// The curve played through Qt Multimedia: the PCM made from the plot shown
// without the toolkit, handed to a QAudioSink that pulls it from a buffer.
#include "window/SoundPlayback.h"

#include "numeric/FloatingPoint.h"
#include "shell/ErrorBox.h"
#include "window/CurveDialogs.h"
#include "window/PlotView.h"

#include <QAction>
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <QMenu>
#include <QShortcut>

#include <algorithm>

namespace {

// The menu item's key everywhere in the window; P alone plays while the
// picture has the keyboard. Ctrl+P is left to printing, as everywhere.
const QKeySequence PlayKey(Qt::CTRL | Qt::SHIFT | Qt::Key_P);
const char PlayItemName[] = "PlayAsSound1";
const char PlayItemText[] = "Play as sound";
// The item goes after this one, with the other ways of reading the curve.
const char ReadingItemBefore[] = "TableOfValues1";

const QString DeviceFaultText = QStringLiteral("The sound device refused the curve's sound.");

QAudioFormat SoundFormat()
{
    QAudioFormat format;
    format.setSampleRate(SoundFrameRate);
    format.setChannelCount(SoundChannels);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

}  // namespace

TCurveSound ShownCurveSound(const TPlotView& view, std::int32_t seconds)
{
    TCurveSound sound;
    sound.Seconds = seconds;
    double low, high;
    if (view.PlotCount() == 0 || !ShownXRange(view, low, high))
        return sound;
    const TPlotView::TShownPlot& shown = view.Shown();
    sound.Samples = &view.Engine().Samples();
    sound.Low = low;
    sound.High = high;
    sound.YMin = shown.View.YMin;
    sound.YMax = shown.View.YMax;
    // After a formula that did not compile the code is not the picture's:
    // the curve then plays without its ticks rather than not at all.
    if (view.Compiled().Formula() == shown.Request.Formula) {
        try {
            sound.Roots = RootPositions(FindPointsOfInterest(view.Compiled(), std::min(low, high),
                                                             std::max(low, high), shown.Request.Z, *sound.Samples));
        } catch (const std::exception&) {
            ResetFpu();
        }
    }
    return sound;
}

TSoundPlayback::TSoundPlayback(QObject* parent) : QObject(parent) {}

TSoundPlayback::~TSoundPlayback()
{
    if (Sink) {
        Sink->disconnect(this);
        Sink->stop();
        delete Sink;
    }
}

void TSoundPlayback::Attach(QMenu& curveMenu, TPlotView& view, TPlotViewHost& host)
{
    View = &view;
    Host = &host;
    auto* item = new QAction(QString::fromLatin1(PlayItemText), &curveMenu);
    item->setObjectName(QString::fromLatin1(PlayItemName));
    item->setShortcut(PlayKey);
    const QList<QAction*> items = curveMenu.actions();
    const auto reading = std::find_if(items.begin(), items.end(), [](QAction* a) {
        return a->objectName() == QLatin1String(ReadingItemBefore);
    });
    curveMenu.insertAction(reading != items.end() && reading + 1 != items.end() ? *(reading + 1) : nullptr, item);
    connect(item, &QAction::triggered, this, &TSoundPlayback::PlayShown);

    auto* pictureKey = new QShortcut(QKeySequence(Qt::Key_P), &view);
    pictureKey->setContext(Qt::WidgetShortcut);
    connect(pictureKey, &QShortcut::activated, item, &QAction::trigger);
    // Esc is the window's own while nothing plays.
    StopKey = new QShortcut(QKeySequence(Qt::Key_Escape), view.window());
    StopKey->setContext(Qt::WindowShortcut);
    StopKey->setEnabled(false);
    connect(StopKey, &QShortcut::activated, this, &TSoundPlayback::Stop);
}

void TSoundPlayback::PlayShown()
{
    RunGuarded(View->window(), [this] {
        const TCurveSound sound = ShownCurveSound(*View, Seconds);
        Play(CurveSoundPcm(sound));
    });
}

bool TSoundPlayback::Play(const std::vector<std::int16_t>& pcm)
{
    Stop();
    Pcm_ = QByteArray(reinterpret_cast<const char*>(pcm.data()),
                      static_cast<qsizetype>(pcm.size() * sizeof(std::int16_t)));
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        Say(NoSoundDeviceText);
        return false;
    }
    if (!device.isFormatSupported(SoundFormat())) {
        Say(DeviceFaultText);
        return false;
    }
    Sink = new QAudioSink(device, SoundFormat(), this);
    // The buffer goes with the sink, so that a sink let go while it still
    // reads never reads a buffer already gone.
    auto* buffer = new QBuffer(Sink);
    buffer->setData(Pcm_);
    buffer->open(QIODevice::ReadOnly);
    connect(Sink, &QAudioSink::stateChanged, this, &TSoundPlayback::SinkStateChanged);
    Sink->start(buffer);
    if (!Sink || Sink->error() != QAudio::NoError || Sink->state() == QAudio::StoppedState) {
        Stop();
        Say(DeviceFaultText);
        return false;
    }
    if (StopKey)
        StopKey->setEnabled(true);
    emit PlayingChanged(true);
    return true;
}

void TSoundPlayback::Stop()
{
    if (!Sink)
        return;
    QAudioSink* sink = std::exchange(Sink, nullptr);
    sink->disconnect(this);
    sink->stop();
    // It may be here from inside its own signal: it goes once that returns.
    sink->deleteLater();
    if (StopKey)
        StopKey->setEnabled(false);
    emit PlayingChanged(false);
}

void TSoundPlayback::SinkStateChanged()
{
    if (!Sink)
        return;
    const QAudio::State state = Sink->state();
    const bool fault = Sink->error() != QAudio::NoError && Sink->error() != QAudio::UnderrunError;
    // Idle with the buffer read to its end is the sound played out; idle
    // before it, a moment the device ran dry, and it goes on.
    const auto* buffer = Sink->findChild<QBuffer*>();
    const bool playedOut = state == QAudio::IdleState && (!buffer || buffer->atEnd());
    if (playedOut || state == QAudio::StoppedState || fault) {
        Stop();
        if (fault)
            Say(DeviceFaultText);
    }
}

void TSoundPlayback::Say(const QString& text)
{
    if (Host)
        Host->ShowPosition(text.toStdString());
    // Heard by a screen reader too: the one who cannot see the line.
    if (View)
        View->Announce(text);
}
