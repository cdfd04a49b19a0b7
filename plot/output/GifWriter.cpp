// The GIF encoder over giflib: the palette of each frame from its own
// colours, the nearest of the 256 commonest standing in for the rest.
#include "plot/output/GifWriter.h"

#include "numeric/Exceptions.h"

#include <gif_lib.h>

#include <algorithm>
#include <exception>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

constexpr int MaxColours = 256;
constexpr int MillisecondsPerDelayStep = 10;
// The application extension that makes viewers loop the frames for ever.
constexpr char LoopApplication[] = "NETSCAPE2.0";
constexpr GifByteType LoopForEver[] = {1, 0, 0};

// What the sink raised, kept until giflib has returned: an exception may
// not pass through its C code.
struct TOutput {
    TGifSink Sink;
    std::exception_ptr Failure;
    bool Discard = false;
};

int Append(GifFileType* gif, const GifByteType* bytes, int count)
{
    auto* output = static_cast<TOutput*>(gif->UserData);
    if (output->Discard || output->Failure)
        return output->Discard ? count : 0;
    try {
        output->Sink(std::string_view(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(count)));
    } catch (...) {
        output->Failure = std::current_exception();
        return 0;
    }
    return count;
}

void Check(const TOutput& output, int result, const char* what)
{
    if (output.Failure)
        std::rethrow_exception(output.Failure);
    if (result != GIF_OK)
        throw Exception(std::string("Cannot encode the animation: ") + what);
}

// A frame as palette indices, with the palette that gives them colour.
struct TIndexedFrame {
    std::vector<QRgb> Palette;
    std::vector<GifPixelType> Pixels;
};

int Distance(QRgb a, QRgb b)
{
    const int r = qRed(a) - qRed(b), g = qGreen(a) - qGreen(b), bl = qBlue(a) - qBlue(b);
    return r * r + g * g + bl * bl;
}

// Calls `run`(colour, length) for each run of one colour along the rows, in
// order: a plot is long runs of one colour, each then costs one look-up.
template <class TRun>
void ForEachRun(const QImage& frame, TRun run)
{
    const int width = frame.width();
    for (int y = 0; y < frame.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(frame.constScanLine(y));
        for (int x = 0; x < width;) {
            const QRgb colour = row[x] | 0xFF000000u;
            int length = 1;
            while (x + length < width && (row[x + length] | 0xFF000000u) == colour)
                ++length;
            run(colour, length);
            x += length;
        }
    }
}

TIndexedFrame IndexFrame(const QImage& image)
{
    const QImage frame = image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
    std::unordered_map<QRgb, int> counts;
    ForEachRun(frame, [&counts](QRgb colour, int length) { counts[colour] += length; });
    std::vector<std::pair<QRgb, int>> byCount(counts.begin(), counts.end());
    std::sort(byCount.begin(), byCount.end(),
              [](const auto& a, const auto& b) { return a.second != b.second ? a.second > b.second : a.first < b.first; });
    TIndexedFrame indexed;
    std::unordered_map<QRgb, GifPixelType> index;
    for (const auto& [colour, count] : byCount) {
        GifPixelType i;
        if (indexed.Palette.size() < MaxColours) {
            i = static_cast<GifPixelType>(indexed.Palette.size());
            indexed.Palette.push_back(colour);
        } else {
            const auto nearest = std::min_element(indexed.Palette.begin(), indexed.Palette.end(),
                [colour](QRgb a, QRgb b) { return Distance(a, colour) < Distance(b, colour); });
            i = static_cast<GifPixelType>(nearest - indexed.Palette.begin());
        }
        index.emplace(colour, i);
    }
    indexed.Pixels.resize(static_cast<std::size_t>(frame.width()) * frame.height());
    GifPixelType* out = indexed.Pixels.data();
    ForEachRun(frame, [&](QRgb colour, int length) { out = std::fill_n(out, length, index.at(colour)); });
    return indexed;
}

// A giflib colour map of a power of two entries holding the palette.
struct TColourMap {
    ColorMapObject* Map;
    explicit TColourMap(const std::vector<QRgb>& palette)
    {
        int size = 2;
        while (size < static_cast<int>(palette.size()))
            size *= 2;
        std::vector<GifColorType> colours(size, GifColorType{0, 0, 0});
        for (std::size_t i = 0; i < palette.size(); ++i)
            colours[i] = {static_cast<GifByteType>(qRed(palette[i])), static_cast<GifByteType>(qGreen(palette[i])),
                          static_cast<GifByteType>(qBlue(palette[i]))};
        Map = GifMakeMapObject(size, colours.data());
        if (!Map)
            throw EOutOfMemory();
    }
    ~TColourMap() { GifFreeMapObject(Map); }
    TColourMap(const TColourMap&) = delete;
    TColourMap& operator=(const TColourMap&) = delete;
};

}  // namespace

struct TGifWriter::TState {
    QSize Size;
    int DelaySteps;
    TOutput Output;
    GifFileType* Gif = nullptr;
    std::vector<QRgb> ScreenPalette;
    bool First = true;
};

TGifWriter::TGifWriter(QSize size, int delayMs, TGifSink sink) : State(std::make_unique<TState>())
{
    State->Output.Sink = std::move(sink);
    State->Size = size;
    State->DelaySteps = (delayMs + MillisecondsPerDelayStep / 2) / MillisecondsPerDelayStep;
    int error = 0;
    State->Gif = EGifOpen(&State->Output, Append, &error);
    if (!State->Gif)
        throw Exception("Cannot encode the animation: no encoder");
    EGifSetGifVersion(State->Gif, true);
}

TGifWriter::~TGifWriter()
{
    // An animation given up: giflib's last bytes go nowhere.
    State->Output.Discard = true;
    if (State->Gif)
        EGifCloseFile(State->Gif, nullptr);
}

void TGifWriter::AddFrame(const QImage& frame)
{
    if (!State->Gif || frame.size() != State->Size)
        throw Exception("Cannot encode the animation: a frame of another size");
    TIndexedFrame indexed = IndexFrame(frame);
    GifFileType* gif = State->Gif;
    const TOutput& output = State->Output;
    if (State->First) {
        // The first frame's palette serves every later frame whose colours it holds.
        State->ScreenPalette = indexed.Palette;
        const TColourMap screen(State->ScreenPalette);
        Check(output, EGifPutScreenDesc(gif, State->Size.width(), State->Size.height(), 8, 0, screen.Map), "screen");
        Check(output, EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE), "loop");
        Check(output, EGifPutExtensionBlock(gif, sizeof LoopApplication - 1, LoopApplication), "loop");
        Check(output, EGifPutExtensionBlock(gif, sizeof LoopForEver, LoopForEver), "loop");
        Check(output, EGifPutExtensionTrailer(gif), "loop");
        State->First = false;
    }
    const GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, State->DelaySteps, NO_TRANSPARENT_COLOR};
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    Check(output, EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, sizeof extension, extension), "delay");

    // Indices into the screen palette where it holds every colour of the frame.
    std::unordered_map<QRgb, GifPixelType> screenIndex;
    for (std::size_t i = 0; i < State->ScreenPalette.size(); ++i)
        screenIndex.emplace(State->ScreenPalette[i], static_cast<GifPixelType>(i));
    std::vector<GifPixelType> remap(indexed.Palette.size());
    bool onScreenPalette = true;
    for (std::size_t i = 0; i < indexed.Palette.size() && onScreenPalette; ++i) {
        const auto found = screenIndex.find(indexed.Palette[i]);
        onScreenPalette = found != screenIndex.end();
        if (onScreenPalette)
            remap[i] = found->second;
    }
    std::unique_ptr<TColourMap> local;
    if (onScreenPalette)
        for (GifPixelType& pixel : indexed.Pixels)
            pixel = remap[pixel];
    else
        local = std::make_unique<TColourMap>(indexed.Palette);
    const int width = State->Size.width(), height = State->Size.height();
    Check(output, EGifPutImageDesc(gif, 0, 0, width, height, false, local ? local->Map : nullptr), "frame");
    for (int y = 0; y < height; ++y)
        Check(output, EGifPutLine(gif, indexed.Pixels.data() + static_cast<std::size_t>(y) * width, width), "frame");
}

void TGifWriter::Finish()
{
    int error = 0;
    GifFileType* gif = State->Gif;
    State->Gif = nullptr;
    if (!gif)
        throw Exception("Cannot encode the animation: closing");
    Check(State->Output, EGifCloseFile(gif, &error), "closing");
}
