// The plot view from the keyboard: the keys that trace and move the view,
// the frame that shows the focus, and the traced point told to assistive
// technology.
#include "window/PlotView.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// Shift with an arrow walks this many columns at once.
constexpr int LongStepColumns = 10;
// The focus frame: a line this wide in the palette's highlight, inside the
// picture's edge.
constexpr int FocusFrameWidth = 2;
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
// The object name that gives the picture's notification its role.
const QString NoticeName = QStringLiteral("PlotViewNotice");
#endif

}  // namespace

void TPlotView::keyPressEvent(QKeyEvent* event)
{
    bool handled = false;
    Guarded([&] {
        RetraceShown();
        handled = TraceKey(*event) || NavigationKey(*event);
    });
    if (handled)
        event->accept();
    else
        TGraphImage::keyPressEvent(event);
}

bool TPlotView::TraceKey(const QKeyEvent& event)
{
    // Ctrl with an arrow pans while the arrows walk the marker.
    if (!Tracing_ || !Traced_ || event.modifiers().testFlag(Qt::ControlModifier))
        return false;
    const int columns = event.modifiers().testFlag(Qt::ShiftModifier) ? LongStepColumns : 1;
    double low, high;
    const bool range = ShownRange(low, high);
    switch (event.key()) {
    case Qt::Key_Left:
        TraceTo(Traced_->X - columns * TraceStep());
        return true;
    case Qt::Key_Right:
        TraceTo(Traced_->X + columns * TraceStep());
        return true;
    case Qt::Key_Home:
        if (range)
            TraceTo(std::min(low, high));
        return true;
    case Qt::Key_End:
        if (range)
            TraceTo(std::max(low, high));
        return true;
    case Qt::Key_F3:
        TraceToNextPoint(event.modifiers().testFlag(Qt::ShiftModifier));
        return true;
    default:
        return false;
    }
}

bool TPlotView::NavigationKey(const QKeyEvent& event)
{
    const TViewWindow& view = Engine_.View();
    const auto zoomAboutCentre = [&](bool in) {
        Step(TZoomStep{0.5 * (view.XMin + view.XMax), 0.5 * (view.YMin + view.YMax), in}, true);
    };
    switch (event.key()) {
    case Qt::Key_Left:
        Navigate(TMove::Left);
        return true;
    case Qt::Key_Right:
        Navigate(TMove::Right);
        return true;
    case Qt::Key_Up:
        Navigate(TMove::Up);
        return true;
    case Qt::Key_Down:
        Navigate(TMove::Down);
        return true;
    case Qt::Key_Home:
        Navigate(TMove::Origin);
        return true;
    // = is + without Shift on most keyboards.
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoomAboutCentre(true);
        return true;
    case Qt::Key_Minus:
        zoomAboutCentre(false);
        return true;
    default:
        return false;
    }
}

void TPlotView::focusInEvent(QFocusEvent* event)
{
    TGraphImage::focusInEvent(event);
    update();
}

void TPlotView::focusOutEvent(QFocusEvent* event)
{
    TGraphImage::focusOutEvent(event);
    update();
}

void TPlotView::paintEvent(QPaintEvent* event)
{
    TGraphImage::paintEvent(event);
    QPainter painter(this);
    if (Tracing_ && Traced_ && HasPicture()) {
        painter.setRenderHint(QPainter::Antialiasing);
        PaintTrace(painter);
        painter.setRenderHint(QPainter::Antialiasing, false);
    }
    if (hasFocus()) {
        const int inset = FocusFrameWidth / 2;
        painter.setPen(QPen(palette().color(QPalette::Highlight), FocusFrameWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(inset, inset, -inset - 1, -inset - 1));
    }
}

void TPlotView::AnnounceTraced()
{
    if (!hasFocus() || !Traced_)
        return;
    // The marker stands on a root or an extremum when it is nearer to it than
    // half a step of the arrow keys; then the point itself is said, where it
    // lies exactly, rather than the column the marker stands on.
    const double near = 0.5 * std::fabs(TraceStep());
    const TPointOfInterest* at = nullptr;
    for (const TPointOfInterest& point : Points_) {
        const bool named = point.Kind == TPointKind::Root || point.Kind == TPointKind::Minimum ||
                           point.Kind == TPointKind::Maximum;
        if (named && std::fabs(point.X - Traced_->X) <= near &&
            (!at || std::fabs(point.X - Traced_->X) < std::fabs(at->X - Traced_->X)))
            at = &point;
    }
    TTracedPoint said = *Traced_;
    if (at)
        said = TTracedPoint{at->X, at->Y, 0, 0, false};
    Announce(QString::fromStdString(TraceAnnouncement(said, !Shown_.Request.Cartesian, TraceDigits(), at)));
}

void TPlotView::Announce(const QString& text)
{
    PendingAnnouncement = text;
    if (AnnounceTimer.isActive())
        return;
    const qint64 since = AnnounceClock.isValid() ? AnnounceClock.elapsed() : AnnounceInterval;
    if (since >= AnnounceInterval)
        SendAnnouncement();
    else
        AnnounceTimer.start(static_cast<int>(AnnounceInterval - since));
}

void TPlotView::SendAnnouncement()
{
    // The same point said twice in a row (a replot of the same view) is said once.
    if (PendingAnnouncement == AnnouncedText)
        return;
    AnnouncedText = PendingAnnouncement;
    AnnounceClock.restart();
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(this, AnnouncedText);
    QAccessible::updateAccessibility(&event);
#else
    // A notification that appears is spoken; one that changes its name is not.
    Notice->hide();
    Notice->setAccessibleName(AnnouncedText);
    Notice->show();
#endif
    emit Announced(AnnouncedText);
}

#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
void TPlotView::CreateNotice()
{
    // The notification role for the one widget that carries it; every other
    // object gets the interface Qt gives it.
    static const bool installed = [] {
        QAccessible::installFactory([](const QString&, QObject* object) -> QAccessibleInterface* {
            if (object && object->isWidgetType() && object->objectName() == NoticeName)
                return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
            return nullptr;
        });
        return true;
    }();
    (void)installed;
    Notice = new QWidget(this);
    Notice->setObjectName(NoticeName);
    // Nothing to see or click: it draws nothing and lets the mouse through.
    Notice->setAttribute(Qt::WA_TransparentForMouseEvents);
    Notice->setGeometry(0, 0, 1, 1);
    Notice->hide();
}
#endif
