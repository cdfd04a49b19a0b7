// Graph, the plot view: it shows the picture of the last plot and owns what
// happens in it — the compile of the formula, the plotting engine with its
// world window, the navigation moves, the mouse, wheel and drag input and
// the position readout. The window it sits in supplies plot requests.
#pragma once

#include "RapidEvaluator/RapidEvaluator.h"
#include "plot/PlotEngine.h"
#include "plot/core/CurvePoints.h"
#include "plot/core/CurveTrace.h"
#include "plot/core/PlotRequest.h"
#include "plot/core/ViewStep.h"
#include "window/GraphImage.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QMessageBox>
#include <QPoint>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>
#include <string>

class QPainter;

// What the view asks of the window it sits in.
class TPlotViewHost {
public:
    // The request the controls describe at this moment.
    virtual TPlotRequest CurrentRequest() const = 0;
    // A move of the Cartesian x range, whose texts live in the window.
    virtual void ShowXRange(const std::string& low, const std::string& high) = 0;
    // Whether a click zooms in (the magnifier chosen); Ctrl turns it round.
    virtual bool ClickZoomsIn() const = 0;
    // The world point under the pointer, as text.
    virtual void ShowPosition(const std::string& text) = 0;
    // The traced point's line; empty when the trace is off.
    virtual void ShowTrace(const std::string& text) = 0;

protected:
    ~TPlotViewHost() = default;
};

// Posted to the view after a change of size; its handler plots.
inline const QEvent::Type WM_PLOTREQUEST = static_cast<QEvent::Type>(QEvent::User + 1);

class TPlotView : public TGraphImage {
    Q_OBJECT

public:
    explicit TPlotView(QWidget* parent = nullptr);

    // The window the view reads its requests from; set once, before any plot.
    void SetHost(TPlotViewHost* host) { Host = host; }

    TPlotEngine& Engine() { return Engine_; }
    const TPlotEngine& Engine() const { return Engine_; }
    // How many plots have been shown so far.
    int PlotCount() const { return PlotCount_; }

    // Plots the host's current request in the view as it stands; a formula
    // that does not compile is reported in a message box and the old
    // picture stays.
    void Replot();
    // The same with the window fitted anew to the curve.
    void PlotFitted();
    // Asks the next plot to fit the window anew.
    void RequestFit() { Engine_.View().ResetView = true; }

    // Navigation: the arrow buttons pan by a fifth of the span, the cross
    // puts the x range back to -10..10 and fits the view. Each move reads
    // the x range first, moves the window and replots it without a fit.
    enum class TMove { Left, Right, Up, Down, Origin };
    void Navigate(TMove move);
    void GraphMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers keys, int X, int Y);
    void GraphMouseMove(int X, int Y);
    void GraphMouseUp(int X, int Y);
    // Zooms about the point under the pointer, which stays there: each notch
    // of 120 units scales both spans by 1/1.25 forward and 1.25 backward.
    void GraphMouseWheel(int angleDelta, int X, int Y);

    // While reports are held (the start, before the window is seen), what a
    // plot would say in a message box is kept, and all of it is shown in one
    // box when they are released.
    void HoldReports() { Holding = true; }
    void ReleaseReports();
    // A message box over the window, or kept while reports are held.
    void Report(const QString& text, QMessageBox::Icon icon);
    // Runs one action; an error it raises is reported over the window.
    void Guarded(const std::function<void()>& action);

    // The trace: a marker on the curve at the pointer's x (polar: the curve
    // point nearest the pointer), read out in a line of its own; with the
    // picture focused the arrow keys walk it along the curve. Off at first.
    void SetTrace(bool on);
    bool Tracing() const { return Tracing_; }
    const std::optional<TTracedPoint>& Traced() const { return Traced_; }
    // Moves the marker to x (the angle in polar mode), panning the view when
    // the marker would leave it.
    void TraceTo(double x);

    // Tells assistive technology `text` ("x 1.5, y 0.997"), at most once
    // every AnnounceInterval: a text that comes sooner waits for the rest of
    // it, and only the newest waiting one is said. Qt 6.8 has an
    // announcement event for it; before it, the text is the name of a
    // notification that appears in the picture for a screen reader only
    // (Notice), which Orca speaks as it appears.
    void Announce(const QString& text);
    static constexpr int AnnounceInterval = 100;

    // What the picture shown was drawn from, so that a page shows the same.
    struct TShownPlot {
        TPlotRequest Request;
        TViewWindow View;
        TPictureSize Size;
    };
    const TShownPlot& Shown() const { return Shown_; }
    // The compiled formula of the plot shown; valid after a Plotted() until
    // the next compile.
    const TRapidEvaluator& Compiled() const { return Evaluator; }

signals:
    // Each plot shown, so that what reads the curve follows z, pans and
    // new formulas.
    void Plotted();
    // Each text told to assistive technology, as it is told.
    void Announced(const QString& text);

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // The x range of the mode: the window's texts in Cartesian mode, the
    // world window's horizontal extent in polar mode.
    void ReadModeXRange(const TPlotRequest& request, double& low, double& high) const;
    void WriteModeXRange(const TPlotRequest& request, double low, double high);
    // One step of both axes, refused with the window as it was when it would
    // leave one that cannot be plotted; then the plot.
    void Step(const TViewStep& step, bool movesX);
    // The traced point again at its x, for the plot shown, and its line.
    void RetraceShown();
    // The accessible description: the plot shown in words, after every plot.
    void Describe();
    // The traced point said, when the picture has the keyboard.
    void AnnounceTraced();
    void SendAnnouncement();
    // Before Qt 6.8: the child that carries the notification role.
    void CreateNotice();
    // The keys of the trace (←, →, Home, End, F3); false for any other key.
    bool TraceKey(const QKeyEvent& event);
    // The keys that move the view as the buttons and a click do.
    bool NavigationKey(const QKeyEvent& event);
    void PaintTrace(QPainter& painter);
    // The points of interest of the plot shown, marked while the trace is on.
    void FindShownPoints();
    // The next point of interest after the traced x (before it when `back`).
    void TraceToNextPoint(bool back);
    // Digits enough to tell the trace's neighbouring columns apart.
    int TraceDigits() const;
    // The world width of one pixel column (polar: one sample's angle step).
    double TraceStep() const;
    // The shown plot's x range (the angle range in polar mode).
    bool ShownRange(double& low, double& high) const;
    // The engine is given the view's size and pixel ratio before it maps or plots.
    void SyncPictureSize();

    TPlotViewHost* Host = nullptr;
    TRapidEvaluator Evaluator;
    TPlotEngine Engine_;
    bool PanDragActive = false;
    QPoint PanDragStart;
    // Wheel turns smaller than a notch (touchpads) add up to one.
    int WheelAngle = 0;
    int PlotCount_ = 0;
    TShownPlot Shown_;
    // The Cartesian x range the view last wrote, as texts and as the exact
    // numbers they were written from: while the texts stand, the next step
    // starts from the numbers, so that steps there and back return where
    // they began rather than drift with each rounding to text.
    struct TWrittenRange {
        std::string LowText, HighText;
        double Low = 0, High = 0;
    } Written;
    bool Tracing_ = false;
    std::optional<TTracedPoint> Traced_;
    std::vector<TPointOfInterest> Points_;
    QString BaseName;
    QString AnnouncedText, PendingAnnouncement;
    QWidget* Notice = nullptr;
    QElapsedTimer AnnounceClock;
    QTimer AnnounceTimer;
    bool Holding = false;
    struct THeldReport {
        QString Text;
        QMessageBox::Icon Icon;
    };
    std::optional<THeldReport> Held;
};
