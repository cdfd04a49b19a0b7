// The drawing surface: QPainter on an RGB32 picture, with the corner and
// end-point conventions the plot code is written against.
#include "plot/PlotCanvas.h"

#include "numeric/Exceptions.h"
#include "plot/ProgramFaces.h"
#include "plot/drawing/PageGeometry.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace {

// The pixel (x, y) of the picture is the square from (x, y) to (x + 1, y + 1):
// a scaled picture draws lines through its centre, so that they cover the
// device pixels of that square as the unscaled picture covers the pixel.
constexpr qreal PixelCentre = 0.5;
constexpr double InchesPerMetre = 1.0 / 0.0254;

// The picture's pixels per drawing pixel: the screen's ratio, or a look's
// resolution against the drawing's 96 per inch.
qreal PictureRatio(qreal devicePixelRatio, const TPageLook& look)
{
    if (look.DevicePixels.Width > 0)
        return qreal(look.DotsPerInch) / PageDotsPerInch;
    return std::max<qreal>(devicePixelRatio, 1.0);
}

QSize PicturePixels(TPictureSize size, qreal devicePixelRatio, const TPageLook& look)
{
    if (look.DevicePixels.Width > 0)
        return QSize(look.DevicePixels.Width, look.DevicePixels.Height);
    const qreal ratio = PictureRatio(devicePixelRatio, look);
    return QSize(qRound(size.Width * ratio), qRound(size.Height * ratio));
}

}  // namespace

QColor ToQColor(TColor color)
{
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

const TPlotCanvas::TPath& TPlotCanvas::PathOf(bool scaled, bool page, TDrawing drawing)
{
    // Ratio 1: lines in whole pixels, labels from the cache. Scaled: lines
    // through the pixels' centres, text laid out at the device's resolution.
    // A page: a curve is one path wherever its segments join.
    static const TPath pixels{&TPlotCanvas::HoldLine, &TPlotCanvas::DrawHeldLines, &TPlotCanvas::DrawKnownText};
    static const TPath scaledPixels{&TPlotCanvas::HoldCentredLine, &TPlotCanvas::DrawHeldCentredLines,
                                    &TPlotCanvas::DrawPlainText};
    static const TPath pages{&TPlotCanvas::HoldCentredLine, &TPlotCanvas::DrawHeldPaths, &TPlotCanvas::DrawPlainText};
    static const TPath plainPixels{&TPlotCanvas::DrawLine, &TPlotCanvas::NoHeldLines, &TPlotCanvas::DrawPlainText};
    static const TPath plainScaledPixels{&TPlotCanvas::DrawCentredLine, &TPlotCanvas::NoHeldLines,
                                         &TPlotCanvas::DrawPlainText};
    if (page)
        return pages;
    if (drawing == TDrawing::Plain)
        return scaled ? plainScaledPixels : plainPixels;
    return scaled ? scaledPixels : pixels;
}

TPlotCanvas::TPlotCanvas(TPictureSize size, qreal devicePixelRatio, TTextCache* texts, TDrawing drawing,
                         const TPageLook& look)
    : Size_(size), Look(look), Scaled(PictureRatio(devicePixelRatio, look) != 1.0 || look.Antialias),
      Path(&PathOf(Scaled, false, drawing)),
      Image(PicturePixels(size, devicePixelRatio, look),
            look.Transparent ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32)
{
    if (Image.isNull())
        throw EOutOfMemory();
    if (look.Transparent)
        Image.fill(Qt::transparent);
    const qreal ratio = PictureRatio(devicePixelRatio, look);
    if (ratio != 1.0)
        Image.setDevicePixelRatio(ratio);
    if (look.DotsPerInch > 0) {
        const int perMetre = qRound(look.DotsPerInch * InchesPerMetre);
        Image.setDotsPerMeterX(perMetre);
        Image.setDotsPerMeterY(perMetre);
    }
    Begin(Image, texts);
}

TPlotCanvas::TPlotCanvas(TPictureSize size, QPaintDevice& device, TTextCache* texts, const TPageLook& look)
    : Size_(size), Look(look), Scaled(true), Path(&PathOf(true, true, TDrawing::Fast))
{
    Begin(device, texts);
}

TPlotCanvas::~TPlotCanvas() = default;

void TPlotCanvas::Begin(QPaintDevice& device, TTextCache* texts)
{
    // A canvas of its own keeps few texts: it draws one picture.
    constexpr std::size_t OwnCapacity = 256;
    if (texts == nullptr)
        OwnCache = std::make_unique<TTextCache>(OwnCapacity);
    Cache = texts != nullptr ? texts : OwnCache.get();
    Painter.begin(&device);
    Painter.setRenderHint(QPainter::Antialiasing, Look.Antialias);
    Font.setStyleHint(QFont::TypeWriter);
    // Hinted to whole pixels of the picture, the letters keep their places
    // at any ratio; hinted to device pixels, they would move apart from each
    // other (a minus sign standing off its digits).
    Font.setHintingPreference(Scaled ? QFont::PreferVerticalHinting : QFont::PreferFullHinting);
    SetFont(QString::fromLatin1(ProgramSansFace), FontPoints_, 0);
    SetPen(0, 1);
}

void TPlotCanvas::SetPen(TColor color, std::int32_t width)
{
    width = DrawnPenWidth(width, Size_);
    FlushLines();
    PenColor_ = color;
    PenWidth_ = width;
    QPen pen(ToQColor(color));
    if (width <= 1) {
        // One pixel of the picture's coordinates: r device pixels when scaled.
        pen.setWidth(1);
        pen.setCosmetic(!Scaled);
    } else {
        // Wide curves with round ends and joins, so neighbouring segments meet
        // without notches.
        pen.setWidth(width);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
    }
    Painter.setPen(pen);
}

void TPlotCanvas::Rectangle(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom)
{
    FlushLines();
    Fill(QRect(QPoint(left, top), QPoint(right, bottom)));
    if (PenColor_ != BrushColor_)
        RectangleOutline(left, top, right, bottom);
}

void TPlotCanvas::Fill(const QRect& box)
{
    if (!Look.Transparent || *Look.Transparent != BrushColor_) {
        Painter.fillRect(box, ToQColor(BrushColor_));
        return;
    }
    // On a page nothing lies under a fill; on a picture the fill clears what
    // was drawn there, as an opaque one would cover it.
    if (Image.isNull())
        return;
    Painter.setCompositionMode(QPainter::CompositionMode_Source);
    Painter.fillRect(box, Qt::transparent);
    Painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TPlotCanvas::RectangleOutline(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom)
{
    FlushLines();
    const QRect box = QRect(QPoint(left, top), QPoint(right, bottom)).normalized().adjusted(0, 0, -1, -1);
    if (Scaled)
        Painter.drawRect(QRectF(box).translated(PixelCentre, PixelCentre));
    else
        Painter.drawRect(box);
}

void TPlotCanvas::Line(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2)
{
    if (IsFar(x1) || IsFar(y1) || IsFar(x2) || IsFar(y2)) [[unlikely]] {
        FlushLines();
        double ax = x1, ay = y1, bx = x2, by = y2;
        if (ClipToSafeBox(ax, ay, bx, by))
            Painter.drawLine(QLineF(ax, ay, bx, by).translated(Scaled ? PixelCentre : 0.0, Scaled ? PixelCentre : 0.0));
        return;
    }
    (this->*Path->Line)(x1, y1, x2, y2);
}

void TPlotCanvas::HoldLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2)
{
    Lines.emplace_back(x1, y1, x2, y2);
}

void TPlotCanvas::HoldCentredLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2)
{
    CentredLines.emplace_back(QLineF(x1, y1, x2, y2).translated(PixelCentre, PixelCentre));
}

void TPlotCanvas::DrawLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2)
{
    const QLine line(x1, y1, x2, y2);
    Painter.drawLines(&line, 1);
}

void TPlotCanvas::DrawCentredLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2)
{
    const QLineF line = QLineF(x1, y1, x2, y2).translated(PixelCentre, PixelCentre);
    Painter.drawLines(&line, 1);
}

void TPlotCanvas::DrawHeldLines()
{
    if (!Lines.empty())
        Painter.drawLines(Lines.data(), static_cast<int>(Lines.size()));
    Lines.clear();
}

void TPlotCanvas::DrawHeldCentredLines()
{
    if (!CentredLines.empty())
        Painter.drawLines(CentredLines.data(), static_cast<int>(CentredLines.size()));
    CentredLines.clear();
}

void TPlotCanvas::DrawHeldPaths()
{
    QPolygonF path;
    for (const QLineF& line : CentredLines) {
        if (!path.isEmpty() && path.back() != line.p1()) {
            Painter.drawPolyline(path);
            path.clear();
        }
        if (path.isEmpty())
            path << line.p1();
        path << line.p2();
    }
    if (!path.isEmpty())
        Painter.drawPolyline(path);
    CentredLines.clear();
}

void TPlotCanvas::SetFont(const QString& family, int points, TColor color)
{
    Font.setFamily(family);
    FontPoints_ = points;
    FontColor = color;
    ApplyFont();
}

void TPlotCanvas::SetFontPoints(int points)
{
    FontPoints_ = points;
    ApplyFont();
}

void TPlotCanvas::ApplyFont()
{
    Font.setPixelSize(TextPixels(FontPoints_, Look.TextScale));
    Painter.setFont(Font);
    FixedPitch = QFontInfo(Font).fixedPitch();
    Advance = QFontMetricsF(Font).horizontalAdvance(QLatin1Char('M'));
    Metrics = QFontMetrics(Font);
    // The key names no hinting, which changes the widths.
    FontKey = Font.key() + QChar(0) + QString::number(Font.hintingPreference()) + QChar(0);
}

bool TPlotCanvas::IsLongFixedPitchText(const QString& text) const
{
    return FixedPitch && text.size() > LongTextLength;
}

QSize TPlotCanvas::TextExtent(const QString& text) const
{
    if (IsLongFixedPitchText(text))
        return QSize(static_cast<int>(std::lround(text.size() * Advance)), Metrics.height());
    return QSize(Known(text, false).Advance, Metrics.height());
}

const TTextCache::TText& TPlotCanvas::Known(const QString& text, bool laidOut) const
{
    // Each text is measured, and laid out as the painter would lay it out,
    // once per font, not once per picture.
    bool kept = false;
    TTextCache::TText* found = &Cache->Find(FontKey + text, kept);
    if (!kept)
        found->Advance = Metrics.horizontalAdvance(text);
    if (laidOut && !found->LaidOut) {
        QTextLayout layout(text, Font);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        line.setPosition(QPointF(0, 0));
        layout.endLayout();
        found->Runs = layout.glyphRuns();
        found->Ascent = line.ascent();
        found->LaidOut = true;
    }
    return *found;
}

QRect TPlotCanvas::TextInk(std::int32_t x, std::int32_t y, const QString& text) const
{
    return Metrics.tightBoundingRect(text).translated(x, y + Metrics.ascent());
}

void TPlotCanvas::TextOut(std::int32_t x, std::int32_t y, const QString& text)
{
    const QSize extent = TextExtent(text);
    qsizetype first = 0, count = text.size();
    if (IsLongFixedPitchText(text)) {
        // Only the characters that fall inside the picture are laid out, each
        // at the place it has in the whole text.
        first = std::clamp<qsizetype>(static_cast<qsizetype>(std::floor(-x / Advance)) - 1, 0, text.size());
        const qsizetype visible = static_cast<qsizetype>(std::ceil(Size_.Width / Advance)) + 3;
        count = std::min(visible, text.size() - first);
    }
    FlushLines();
    Texts.push_back({QRect(QPoint(x, y), extent), text});
    Fill(QRect(x, y, extent.width(), extent.height()));
    const QPen linePen = Painter.pen();
    Painter.setPen(ToQColor(FontColor));
    (this->*Path->Text)(x, y, text, first, count);
    Painter.setPen(linePen);
}

void TPlotCanvas::TextOutUpward(std::int32_t x, std::int32_t y, const QString& text)
{
    // Drawn as any text, in a frame turned about the box's bottom-left corner.
    const QSize extent = TextExtent(text);
    FlushLines();
    Painter.save();
    Painter.translate(x, y + extent.width());
    Painter.rotate(-90);
    TextOut(0, 0, text);
    Painter.restore();
    Texts.back().Box = QRect(x, y, extent.height(), extent.width());
}

void TPlotCanvas::DrawKnownText(std::int32_t x, std::int32_t y, const QString& text, qsizetype first, qsizetype count)
{
    if (count != text.size()) {
        DrawPlainText(x, y, text, first, count);
        return;
    }
    const TTextCache::TText& laidOut = Known(text, true);
    for (const QGlyphRun& run : laidOut.Runs)
        Painter.drawGlyphRun(QPointF(x, y + Metrics.ascent() - laidOut.Ascent), run);
}

void TPlotCanvas::DrawPlainText(std::int32_t x, std::int32_t y, const QString& text, qsizetype first, qsizetype count)
{
    Painter.drawText(QPointF(x + first * Advance, y + Metrics.ascent()), text.mid(first, count));
}

QImage TPlotCanvas::Finish()
{
    FlushLines();
    Painter.end();
    return std::move(Image);
}
