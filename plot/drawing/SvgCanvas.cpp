// The SVG document of one plot, written as the plot draws: rectangles and
// texts as they come, lines gathered into one group per pen and one polyline
// per run of joined segments.
#include "plot/drawing/SvgCanvas.h"

#include "plot/drawing/FaceFiles.h"
#include "plot/drawing/PageGeometry.h"
#include "plot/drawing/Plotter.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

// The pixel (x, y) is the square from (x, y) to (x + 1, y + 1): lines run
// through its centre, so that they cover the pixels the picture's lines do.
constexpr double PixelCentre = 0.5;

void AppendNumber(QByteArray& out, double v)
{
    char digits[32];
    const auto end = std::to_chars(digits, digits + sizeof digits, v).ptr;
    out.append(digits, end - digits);
}

void AppendNumber(QByteArray& out, std::int64_t v)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, v).ptr;
    out.append(digits, end - digits);
}

void AppendColour(QByteArray& out, TColor color)
{
    static const char hex[] = "0123456789ABCDEF";
    const unsigned channels[3] = {color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF};
    out.append('#');
    for (const unsigned c : channels) {
        out.append(hex[c >> 4]);
        out.append(hex[c & 0xF]);
    }
}

// Text as XML character data: markup characters escaped, and the characters
// XML cannot hold at all (control characters, unpaired surrogates, U+FFFE and
// U+FFFF) shown as the replacement character rather than making the whole
// document unreadable.
void AppendEscaped(QByteArray& out, QStringView text)
{
    QString clean;
    clean.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const char16_t u = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            clean += c;
            clean += text[++i];
        } else if ((u < 0x20 && u != '\t' && u != '\n' && u != '\r') || c.isSurrogate() || u == 0xFFFE || u == 0xFFFF) {
            clean += QChar::ReplacementCharacter;
        } else if (u == '&') {
            clean += QLatin1String("&amp;");
        } else if (u == '<') {
            clean += QLatin1String("&lt;");
        } else if (u == '>') {
            clean += QLatin1String("&gt;");
        } else if (u == '"') {
            clean += QLatin1String("&quot;");
        } else {
            clean += c;
        }
    }
    out += clean.toUtf8();
}

void AppendPenAttributes(QByteArray& out, TColor color, std::int32_t width)
{
    out += " fill=\"none\" stroke=\"";
    AppendColour(out, color);
    out += "\" stroke-width=\"";
    // A thin pen is one pixel wide with square ends, so that a line covers
    // both its end pixels; a wide one has round ends and joins, so that
    // neighbouring segments meet without notches.
    if (width <= 1) {
        out += "1\" stroke-linecap=\"square\" stroke-linejoin=\"bevel\"";
    } else {
        AppendNumber(out, std::int64_t{width});
        out += "\" stroke-linecap=\"round\" stroke-linejoin=\"round\"";
    }
}

}  // namespace

TSvgCanvas::TSvgCanvas(TPictureSize size, const QString& monoFace, const TPageLook& look)
    : Size_(size), Look(look), MonoFace(monoFace), Family(QString::fromLatin1(ProgramMonoFace))
{
    Metrics();
    Document.reserve(16384);
    Document += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"";
    if (look.WidthText.empty())
        AppendNumber(Document, std::int64_t{size.Width});
    else
        Document += look.WidthText.c_str();
    Document += "\" height=\"";
    if (look.HeightText.empty())
        AppendNumber(Document, std::int64_t{size.Height});
    else
        Document += look.HeightText.c_str();
    Document += "\" viewBox=\"0 0 ";
    AppendNumber(Document, std::int64_t{size.Width});
    Document += ' ';
    AppendNumber(Document, std::int64_t{size.Height});
    // A viewer without the face keeps the texts fixed-pitch, near the width
    // they were measured at.
    Document += "\" font-family=\"'";
    AppendEscaped(Document, Family);
    Document += "', monospace\" xml:space=\"preserve\">\n";
}

TSvgCanvas::~TSvgCanvas() = default;

const TFaceMetrics& TSvgCanvas::Metrics() const
{
    const int pixels = TextPixels(FontPoints_, Look.TextScale);
    std::unique_ptr<TFaceMetrics>& face = Faces[pixels];
    if (!face)
        face = std::make_unique<TFaceMetrics>(MonoFace, pixels);
    return *face;
}

void TSvgCanvas::SetPen(TColor color, std::int32_t width)
{
    width = DrawnPenWidth(width, Size_);
    if (color != PenColor_ || std::max(width, 1) != std::max(PenWidth_, 1))
        EndGroup();
    PenColor_ = color;
    PenWidth_ = width;
}

void TSvgCanvas::EndRun()
{
    if (InRun)
        Document += "\"/>\n";
    InRun = false;
}

void TSvgCanvas::BeginGroup()
{
    if (InGroup)
        return;
    Document += "<g";
    AppendPenAttributes(Document, PenColor_, PenWidth_);
    Document += ">\n";
    InGroup = true;
}

void TSvgCanvas::EndGroup()
{
    EndRun();
    if (InGroup)
        Document += "</g>\n";
    InGroup = false;
}

void TSvgCanvas::Point(double x, double y)
{
    AppendNumber(Document, x + PixelCentre);
    Document += ',';
    AppendNumber(Document, y + PixelCentre);
}

void TSvgCanvas::Point(std::int32_t x, std::int32_t y)
{
    // The centre of a pixel, written as a whole number and a half.
    const auto half = [this](std::int32_t v) {
        if (v < 0) {
            Document += '-';
            AppendNumber(Document, -(std::int64_t{v} + 1));
        } else {
            AppendNumber(Document, std::int64_t{v});
        }
        Document += ".5";
    };
    half(x);
    Document += ',';
    half(y);
}

void TSvgCanvas::Rectangle(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom)
{
    EndGroup();
    if (BrushIsClear()) {
        if (PenColor_ != BrushColor_)
            RectangleOutline(left, top, right, bottom);
        return;
    }
    // Both corners' pixels are filled.
    Document += "<rect x=\"";
    AppendNumber(Document, std::int64_t{std::min(left, right)});
    Document += "\" y=\"";
    AppendNumber(Document, std::int64_t{std::min(top, bottom)});
    Document += "\" width=\"";
    AppendNumber(Document, std::abs(std::int64_t{right} - left) + 1);
    Document += "\" height=\"";
    AppendNumber(Document, std::abs(std::int64_t{bottom} - top) + 1);
    Document += "\" fill=\"";
    AppendColour(Document, BrushColor_);
    Document += "\"/>\n";
    if (PenColor_ != BrushColor_)
        RectangleOutline(left, top, right, bottom);
}

void TSvgCanvas::RectangleOutline(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom)
{
    EndGroup();
    // Through the centres of the corners' pixels.
    Document += "<rect x=\"";
    AppendNumber(Document, std::min(left, right) + PixelCentre);
    Document += "\" y=\"";
    AppendNumber(Document, std::min(top, bottom) + PixelCentre);
    Document += "\" width=\"";
    AppendNumber(Document, std::abs(std::int64_t{right} - left));
    Document += "\" height=\"";
    AppendNumber(Document, std::abs(std::int64_t{bottom} - top));
    Document += '"';
    AppendPenAttributes(Document, PenColor_, PenWidth_);
    Document += "/>\n";
}

void TSvgCanvas::Line(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2)
{
    BeginGroup();
    if (IsFar(x1) || IsFar(y1) || IsFar(x2) || IsFar(y2)) [[unlikely]] {
        // A line reaching far out is clipped and stands alone.
        EndRun();
        double ax = x1, ay = y1, bx = x2, by = y2;
        if (ClipToSafeBox(ax, ay, bx, by)) {
            Document += "<polyline points=\"";
            Point(ax, ay);
            Document += ' ';
            Point(bx, by);
            Document += "\"/>\n";
        }
        return;
    }
    if (!InRun || RunX != x1 || RunY != y1) {
        EndRun();
        Document += "<polyline points=\"";
        Point(x1, y1);
        InRun = true;
    }
    Document += ' ';
    Point(x2, y2);
    RunX = x2;
    RunY = y2;
}

void TSvgCanvas::SetFont(const QString& family, int points, TColor color)
{
    Family = family;
    FontColor = color;
    SetFontPoints(points);
}

void TSvgCanvas::SetFontPoints(int points)
{
    FontPoints_ = points;
    Metrics();
}

QSize TSvgCanvas::TextExtent(const QString& text) const
{
    const TFaceMetrics& metrics = Metrics();
    if (text.size() > LongTextLength)
        return QSize(static_cast<int>(std::lround(text.size() * metrics.FixedAdvance())), metrics.Height());
    return metrics.TextExtent(text);
}

QRect TSvgCanvas::TextInk(std::int32_t x, std::int32_t y, const QString& text) const
{
    return Metrics().TextInk(x, y, text);
}

void TSvgCanvas::TextOutUpward(std::int32_t x, std::int32_t y, const QString& text)
{
    // Written as any text, in a frame turned about the box's bottom-left corner.
    EndGroup();
    Document += "<g transform=\"translate(";
    AppendNumber(Document, std::int64_t{x});
    Document += ' ';
    AppendNumber(Document, std::int64_t{y} + TextExtent(text).width());
    Document += ") rotate(-90)\">\n";
    TextOut(0, 0, text);
    Document += "</g>\n";
}

void TSvgCanvas::TextOut(std::int32_t x, std::int32_t y, const QString& text)
{
    EndGroup();
    const TFaceMetrics& metrics = Metrics();
    const QSize extent = TextExtent(text);
    // Of a long text only the characters that fall inside the picture are
    // written, each at the place it has in the whole text.
    qsizetype first = 0, count = text.size();
    const double advance = metrics.FixedAdvance();
    if (text.size() > LongTextLength && advance > 0.0) {
        first = std::clamp<qsizetype>(static_cast<qsizetype>(std::floor(-x / advance)) - 1, 0, text.size());
        const qsizetype visible = static_cast<qsizetype>(std::ceil(Size_.Width / advance)) + 3;
        count = std::min(visible, text.size() - first);
    }
    if (!extent.isEmpty() && !BrushIsClear()) {
        Document += "<rect x=\"";
        AppendNumber(Document, std::int64_t{x});
        Document += "\" y=\"";
        AppendNumber(Document, std::int64_t{y});
        Document += "\" width=\"";
        AppendNumber(Document, std::int64_t{extent.width()});
        Document += "\" height=\"";
        AppendNumber(Document, std::int64_t{extent.height()});
        Document += "\" fill=\"";
        AppendColour(Document, BrushColor_);
        Document += "\"/>\n";
    }
    const QString shown = text.mid(first, count);
    const double left = x + first * advance;
    Document += "<text";
    // Pieces between tabs start at the tab stops.
    const qsizetype tabs = shown.count(QLatin1Char('\t'));
    if (tabs == 0) {
        Document += " x=\"";
        AppendNumber(Document, left);
        Document += '"';
    }
    Document += " y=\"";
    AppendNumber(Document, std::int64_t{y} + metrics.Ascent());
    Document += "\" font-size=\"";
    AppendNumber(Document, std::int64_t{metrics.PixelSize()});
    Document += "\" fill=\"";
    AppendColour(Document, FontColor);
    Document += '"';
    if (Family != QLatin1String(ProgramMonoFace)) {
        Document += " font-family=\"";
        AppendEscaped(Document, Family);
        Document += '"';
    }
    Document += '>';
    if (tabs == 0) {
        AppendEscaped(Document, shown);
    } else {
        // The tabs stay in the text, each a blank at the end of its piece.
        const std::vector<std::int64_t> starts = metrics.PieceStarts(shown);
        qsizetype from = 0;
        for (std::size_t piece = 0; piece < starts.size(); ++piece) {
            if (piece > 0)
                Document += '\t';
            qsizetype to = shown.indexOf(QLatin1Char('\t'), from);
            if (to < 0)
                to = shown.size();
            if (to > from) {
                Document += "<tspan x=\"";
                AppendNumber(Document, left + starts[piece] / 64.0);
                Document += "\">";
                AppendEscaped(Document, QStringView(shown).sliced(from, to - from));
                Document += "</tspan>";
            }
            from = to + 1;
        }
    }
    Document += "</text>\n";
}

QByteArray TSvgCanvas::Finish()
{
    EndGroup();
    Document += "</svg>\n";
    return std::move(Document);
}

QByteArray PlotSvgPage(TPlotter& plotter, const TRapidEvaluator& evaluator, const TPlotRequest& request)
{
    TSvgCanvas canvas(plotter.PictureSize(), ProgramFaceFile(ProgramMonoRegularFile), plotter.PageLook());
    plotter.Plot(evaluator, request, canvas);
    return canvas.Finish();
}
