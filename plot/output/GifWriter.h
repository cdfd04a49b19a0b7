// Animated GIF pictures, frame by frame, through giflib: each frame keeps
// its exact colours (a plot has far fewer than 256), and loops for ever.
#pragma once

#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <memory>

class TGifWriter {
public:
    // Frames of `size`, each shown for `delayMs` milliseconds (in steps of 10).
    TGifWriter(QSize size, int delayMs);
    ~TGifWriter();
    TGifWriter(const TGifWriter&) = delete;
    TGifWriter& operator=(const TGifWriter&) = delete;

    // Raises Exception when giflib fails or the frame is not of the size.
    void AddFrame(const QImage& frame);
    // The whole file; the writer takes no more frames.
    QByteArray Finish();

private:
    struct TState;
    std::unique_ptr<TState> State;
};
