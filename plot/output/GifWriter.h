// Animated GIF pictures, frame by frame, through giflib: each frame keeps
// its exact colours (a plot has far fewer than 256), and loops for ever.
// The bytes go to a sink as they are made, so an animation of any length
// takes the memory of one frame.
#pragma once

#include <QImage>

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

// Takes the file's bytes in order; may raise, which ends the animation.
using TGifSink = std::function<void(std::string_view bytes)>;

class TGifWriter {
public:
    // Frames of `size`, each shown for `delayMs` milliseconds (in steps of 10).
    TGifWriter(QSize size, int delayMs, TGifSink sink);
    ~TGifWriter();
    TGifWriter(const TGifWriter&) = delete;
    TGifWriter& operator=(const TGifWriter&) = delete;

    // Raises Exception when giflib fails or the frame is not of the size,
    // and what the sink raised when it fails.
    void AddFrame(const QImage& frame);
    // The end of the file; the writer takes no more frames.
    void Finish();

private:
    struct TState;
    std::unique_ptr<TState> State;
};
