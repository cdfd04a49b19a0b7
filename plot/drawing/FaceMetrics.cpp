// Glyph metrics loaded with FreeType's light hinting, which hints the
// outlines vertically and keeps the design advances.
#include "plot/drawing/FaceMetrics.h"

#include "numeric/Exceptions.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr std::int64_t TabStop64 = std::int64_t{TFaceMetrics::TabStop} * 64;

std::int32_t Floor64(FT_Pos v) { return static_cast<std::int32_t>(v >> 6); }
std::int32_t Ceil64(FT_Pos v) { return static_cast<std::int32_t>((v + 63) >> 6); }
// Whole pixels of a length in 1/64 pixel, halves away from zero.
int Round64(std::int64_t v) { return static_cast<int>(v >= 0 ? (v + 32) >> 6 : -((-v + 32) >> 6)); }

}  // namespace

struct TFaceMetrics::TFace {
    FT_Library Library = nullptr;
    FT_Face Face = nullptr;
    ~TFace()
    {
        if (Face != nullptr)
            FT_Done_Face(Face);
        if (Library != nullptr)
            FT_Done_FreeType(Library);
    }
};

TFaceMetrics::TFaceMetrics(const QString& file, int pixelSize) : Face(std::make_unique<TFace>()), PixelSize_(pixelSize)
{
    const auto failure = [&](const char* what) {
        return Exception("Cannot " + std::string(what) + " the face file " + file.toStdString() + ".");
    };
    if (FT_Init_FreeType(&Face->Library) != 0)
        throw failure("start reading");
    if (FT_New_Face(Face->Library, file.toLocal8Bit().constData(), 0, &Face->Face) != 0)
        throw failure("read");
    if (!FT_IS_SCALABLE(Face->Face) || FT_Set_Pixel_Sizes(Face->Face, 0, static_cast<FT_UInt>(pixelSize)) != 0)
        throw failure("scale");
    // The unrounded ascent and descent of the face at this size; each line is
    // their sum, rounded, high.
    const FT_Fixed scale = Face->Face->size->metrics.y_scale;
    const std::int64_t ascent = FT_MulFix(Face->Face->ascender, scale);
    const std::int64_t descent = -FT_MulFix(Face->Face->descender, scale);
    Ascent_ = Round64(ascent);
    Height_ = Round64(ascent + descent);
    FixedAdvance64 = Glyph(U'M').Advance64;
}

TFaceMetrics::~TFaceMetrics() = default;

TFaceMetrics::TGlyph& TFaceMetrics::Glyph(char32_t c) const
{
    TGlyph* glyph = nullptr;
    if (c < 128) {
        glyph = &Ascii[c];
        if (AsciiLoaded[c])
            return *glyph;
        AsciiLoaded[c] = true;
    } else {
        const auto [place, added] = Others.try_emplace(c);
        glyph = &place->second;
        if (!added)
            return *glyph;
    }
    // The design advance (16.16 pixels) cut to 1/64 pixel, read from the
    // face's table of advances: loading the glyph would hint it. A character
    // the face cannot give takes no room and has no ink.
    glyph->Index = FT_Get_Char_Index(Face->Face, c);
    FT_Fixed advance = 0;
    if (FT_Get_Advance(Face->Face, glyph->Index, FT_LOAD_NO_HINTING, &advance) != 0)
        advance = 0;
    glyph->Advance64 = static_cast<std::int32_t>(advance >> 10);
    return *glyph;
}

const TFaceMetrics::TGlyph& TFaceMetrics::Inked(TGlyph& glyph) const
{
    if (glyph.Inked)
        return glyph;
    glyph.Inked = true;
    if (FT_Load_Glyph(Face->Face, glyph.Index, FT_LOAD_TARGET_LIGHT) != 0)
        return glyph;
    const FT_Glyph_Metrics& m = Face->Face->glyph->metrics;
    glyph.Left = Floor64(m.horiBearingX);
    glyph.Right = Ceil64(m.horiBearingX + m.width);
    glyph.Top = -Ceil64(m.horiBearingY);
    glyph.Bottom = -Floor64(m.horiBearingY - m.height);
    return glyph;
}

template <typename TPlace>
std::int64_t TFaceMetrics::Walk(const QString& text, TPlace&& place) const
{
    std::int64_t pen = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = text[i].unicode();
        if (c == U'\t') {
            pen = (pen / TabStop64 + 1) * TabStop64;
            place(pen, nullptr);
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < n && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i].unicode(), text[i + 1].unicode());
            ++i;
        }
        TGlyph& glyph = Glyph(c);
        place(pen, &glyph);
        pen += glyph.Advance64;
    }
    return pen;
}

QSize TFaceMetrics::TextExtent(const QString& text) const
{
    return QSize(Round64(Walk(text, [](std::int64_t, TGlyph*) {})), Height_);
}

QRect TFaceMetrics::TextInk(std::int32_t x, std::int32_t y, const QString& text) const
{
    // Every glyph counts, blanks too (as a point on the baseline at the pen):
    // the box runs from the leftmost ink to the rightmost, each glyph's ink
    // whole pixels from its pen position, and is then widened to whole pixels.
    // As Qt's box, it reaches down to the baseline at least, and right to the
    // text's start at least.
    constexpr std::int64_t None = std::numeric_limits<std::int64_t>::max();
    std::int64_t left = None, right = 0;
    std::int32_t top = std::numeric_limits<std::int32_t>::max(), bottom = 0;
    Walk(text, [&](std::int64_t pen, TGlyph* placed) {
        if (placed == nullptr)
            return;
        const TGlyph& glyph = Inked(*placed);
        left = std::min(left, pen + std::int64_t{glyph.Left} * 64);
        right = std::max(right, pen + std::int64_t{glyph.Right} * 64);
        top = std::min(top, glyph.Top);
        bottom = std::max(bottom, glyph.Bottom);
    });
    if (left == None)
        return QRect(x, y + Ascent_, 0, 0);
    const std::int64_t floorLeft = left >= 0 ? left >> 6 : -((-left + 63) >> 6);
    const std::int64_t width = (right - left + 63) >> 6;
    return QRect(x + static_cast<int>(floorLeft), y + Ascent_ + top, static_cast<int>(width), bottom - top);
}

std::vector<std::int64_t> TFaceMetrics::PieceStarts(const QString& text) const
{
    std::vector<std::int64_t> starts{0};
    Walk(text, [&](std::int64_t pen, TGlyph* glyph) {
        if (glyph == nullptr)
            starts.push_back(pen);
    });
    return starts;
}
