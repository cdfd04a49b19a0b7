// The measures of one face at one pixel size, read from its font file with
// FreeType: advances, ascent, line height and the ink of texts, as Qt's
// painter measures the same face on a page (hinted vertically only), so that
// a page written without Qt's GUI lays its texts out as the picture does.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

class TFaceMetrics {
public:
    // Raises Exception naming the file when it cannot be read as a face.
    TFaceMetrics(const QString& file, int pixelSize);
    ~TFaceMetrics();
    TFaceMetrics(const TFaceMetrics&) = delete;
    TFaceMetrics& operator=(const TFaceMetrics&) = delete;

    int PixelSize() const { return PixelSize_; }
    // From the top of a line to its baseline, and the line's height.
    int Ascent() const { return Ascent_; }
    int Height() const { return Height_; }
    // The advance of 'M', in pixels: every character's, in a fixed-pitch face.
    double FixedAdvance() const { return FixedAdvance64 / 64.0; }

    // A tab moves on to the next multiple of this many pixels from the
    // text's start.
    static constexpr int TabStop = 80;

    // Width and height of a text.
    QSize TextExtent(const QString& text) const;
    // The box of the letters of a text whose top-left corner is at (x, y).
    QRect TextInk(std::int32_t x, std::int32_t y, const QString& text) const;
    // Where each piece of a text between tabs starts, in 1/64 pixel from the
    // text's start: the first at 0, one more after each tab.
    std::vector<std::int64_t> PieceStarts(const QString& text) const;

private:
    // One glyph's advance in 1/64 pixel and, once asked for, its ink in
    // whole pixels relative to its pen position on the baseline (y grows
    // downwards): the ink needs the hinted outline, which costs far more.
    struct TGlyph {
        std::uint32_t Index;
        std::int32_t Advance64;
        bool Inked;
        std::int32_t Left, Top, Right, Bottom;
    };
    TGlyph& Glyph(char32_t c) const;
    const TGlyph& Inked(TGlyph& glyph) const;
    // Calls `place(pen64, &glyph)` for each character but tabs, and
    // `place(pen64, nullptr)` after each tab with the pen at its stop;
    // returns the end of the text in 1/64 pixel.
    template <typename TPlace>
    std::int64_t Walk(const QString& text, TPlace&& place) const;

    struct TFace;
    std::unique_ptr<TFace> Face;
    int PixelSize_;
    int Ascent_ = 0;
    int Height_ = 0;
    std::int32_t FixedAdvance64 = 0;
    mutable TGlyph Ascii[128]{};
    mutable bool AsciiLoaded[128]{};
    mutable std::unordered_map<char32_t, TGlyph> Others;
};
