// TGraphMainForm: the program's one working window. It owns the formula
// compiler, the plotting engine and the drawing settings, turns every user
// action that changes the picture into one PlotRequest, and shows the
// finished picture in Graph.
#pragma once

#include "RapidEvaluator/RapidEvaluator.h"
#include "plot/PlotEngine.h"
#include "plot/core/PlotRequest.h"
#include "settings/SettingsFile.h"

#include <QEvent>
#include <QMainWindow>
#include <QPoint>
#include <QTimer>

#include <memory>
#include <string>

namespace Ui {
class TGraphMainForm;
}
class QAction;
enum class TOutputFormat;
class TAboutForm;
class TGraphImage;

// Posted to the window after a change of size; its handler plots.
inline const QEvent::Type WM_PLOTREQUEST = static_cast<QEvent::Type>(QEvent::User + 1);

class TGraphMainForm : public QMainWindow {
    Q_OBJECT

public:
    // Reads the settings from `settingsFileName` and plots once, before the
    // window is shown; the destruction writes them back.
    explicit TGraphMainForm(std::string settingsFileName, QWidget* parent = nullptr);
    ~TGraphMainForm() override;

    TPlotEngine& Engine() { return Engine_; }
    // BackgroundColor, AxisColor, GoodPointColor, BadPointColor, LineWidth,
    // Boundary and Ticks.
    TDrawingSettings& Drawing() { return Drawing_; }
    TGraphImage& Graph() const;
    const std::string& SettingsFileName() const { return SettingsFileName_; }
    // How many plots have been shown so far.
    int PlotCount() const { return PlotCount_; }

    // The plot request and the handlers it is reached from.
    void PlotRequest();
    void PlotBtnClick();
    void Cartesian1Click();
    void Polar1Click();
    void Exit1Click();

    // Navigation: the arrow buttons pan by a fifth of the span, the cross
    // puts the x range back to -10..10 and fits the view.
    enum class TMove { Left, Right, Up, Down, Origin };
    void Navigate(TMove move);
    void GraphMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers keys, int X, int Y);
    void GraphMouseMove(Qt::KeyboardModifiers keys, int X, int Y);
    void GraphMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers keys, int X, int Y);
    // Zooms about the point under the pointer, which stays there: each notch
    // of 120 units scales both spans by 1/1.25 forward and 1.25 backward.
    void GraphMouseWheel(int angleDelta, int X, int Y);

    // The parameter z and the examples.
    void TrackBar1Change();
    void ExampleClick(QAction* item);
    void ShowExample(const QString& formula, double low, double high);

    // The About window, made hidden once the main window exists; the menu
    // item shows it.
    void CreateAboutForm();
    TAboutForm* AboutForm() const { return AboutForm_.get(); }
    void Contents1Click();
    void AboutOrvalis1Click();

    // Preferences and export.
    void Preferences1Click();
    void SavetoClipboard1Click();
    void Savetobitmap1Click();

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void FormCreate();
    void FormResize();
    void FormDestroy();
    // The controls bound to the settings, through the one table that binds
    // them: all of them read into a record or shown from one, or the one
    // bound to a field of the record.
    TSettings ControlSettings() const;
    void ShowSettings(const TSettings& settings);
    template <class Value>
    Value Setting(Value TSettings::*field) const;
    template <class Value>
    void SetSetting(Value TSettings::*field, const Value& value);
    // A changed setting is written soon after, once the changes pause, so
    // that an end without a close (the display gone) keeps it.
    void WatchSettings();
    void SettingsChanged();
    void SaveChangedSettings();
    void ConnectHandlers();
    void AttachTrackBarHandler();
    void ApplyFonts();
    void SetMode(bool cartesian);
    void SetTitleCaption();
    bool IsCartesian() const;

    // The compile that starts a plot; a formula that does not compile is
    // reported in a message box.
    bool CompileFormula(const std::string& formula);
    // What the controls say about the next plot, read once.
    TPlotRequest ReadPlotRequest() const;
    // The x range texts, written with six significant digits.
    void WriteXRange(double low, double high);
    // The x range of the mode: the edits in Cartesian mode, the window's
    // horizontal extent in polar mode.
    void ReadModeXRange(double& low, double& high) const;
    void WriteModeXRange(double low, double high);
    // The picture shown, drawn again as an SVG or PDF page.
    QByteArray PlotShownPage(TOutputFormat format) const;
    // The engine is given Graph's size and pixel ratio before it maps or plots.
    void SyncPictureSize();

    std::unique_ptr<Ui::TGraphMainForm> Ui_;
    std::unique_ptr<TAboutForm> AboutForm_;
    TRapidEvaluator Evaluator;
    TPlotEngine Engine_;
    TDrawingSettings Drawing_;
    std::string SettingsFileName_;
    QMetaObject::Connection TrackBarHandler;
    bool PanDragActive = false;
    QPoint PanDragStart;
    // Wheel turns smaller than a notch (touchpads) add up to one.
    int WheelAngle = 0;
    int PlotCount_ = 0;
    QTimer SaveTimer;
    std::optional<TSettings> Unsaved;
    // The save dialog offers the name and the filter chosen last.
    QString LastBitmapName;
    qsizetype LastSaveFilter = 0;
    // What the picture shown was drawn from, so that a page shows the same.
    struct TShownPlot {
        TPlotRequest Request;
        TViewWindow View;
        TPictureSize Size;
        double Z = 0;
    } Shown;
};
