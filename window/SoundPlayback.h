// The curve played as sound in the window: the PCM of the plot shown handed
// to the default audio output, the Curve menu's item and the keys that
// start and stop it.
#pragma once

#include "plot/core/CurveSound.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <cstdint>

class QAudioSink;
class QMenu;
class QShortcut;
class TPlotView;
class TPlotViewHost;

// What the window says, in its readout line, when it cannot play.
inline const QString NoSoundDeviceText = QStringLiteral("No sound device: the curve cannot be played.");

// The sound of the plot the view shows: its samples over its range, the y
// extent of the view it was drawn in, a tick at each root, `seconds` long.
// Samples points into the view's engine and holds until its next plot; no
// plot shown gives a sound without samples, which is silence.
TCurveSound ShownCurveSound(const TPlotView& view, std::int32_t seconds);

// One sound at a time on the default audio output: a new one ends the one
// playing, and the sink goes once its sound has played out.
class TSoundPlayback : public QObject {
    Q_OBJECT

public:
    explicit TSoundPlayback(QObject* parent = nullptr);
    ~TSoundPlayback() override;

    // How long the curve plays, from the Preferences.
    std::int32_t Seconds = DefaultSoundSeconds;

    // Adds "Play as sound" to the Curve menu after its reading windows, with
    // its key; P plays while the picture has the keyboard and Esc stops the
    // sound while one plays. What cannot be played is said in the host's
    // readout line.
    void Attach(QMenu& curveMenu, TPlotView& view, TPlotViewHost& host);

    // Plays the curve the view shows now, from its start.
    void PlayShown();
    // Plays `pcm` (interleaved stereo, 16 bits, SoundFrameRate) from its
    // start, ending the sound that plays; false, with nothing playing, when
    // there is no output device or it refuses the sound.
    bool Play(const std::vector<std::int16_t>& pcm);
    void Stop();
    bool Playing() const { return Sink != nullptr; }
    // The bytes last handed to the output, kept for as long as they play.
    const QByteArray& Pcm() const { return Pcm_; }

signals:
    void PlayingChanged(bool playing);

private:
    // Called as the sink's state changes: the end of the sound or a fault
    // of the device lets the sink go.
    void SinkStateChanged();
    void Say(const QString& text);

    TPlotView* View = nullptr;
    TPlotViewHost* Host = nullptr;
    QAudioSink* Sink = nullptr;
    QShortcut* StopKey = nullptr;
    QByteArray Pcm_;
};
