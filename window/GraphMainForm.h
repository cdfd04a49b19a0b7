// TGraphMainForm: the program's one working window. It keeps the menus, the
// controls bound to the settings and the plot request, the settings' saving
// and the export; the plot view Graph owns the plotting and what happens in
// the picture.
#pragma once

#include "plot/core/PlotRequest.h"
#include "settings/SettingsFile.h"
#include "window/CurveDialogs.h"
#include "window/PictureExport.h"
#include "window/PlotView.h"
#include "window/SettingsAutosave.h"
#include "window/SoundPlayback.h"

#include <QMainWindow>

#include <memory>
#include <string>

namespace Ui {
class TGraphMainForm;
}
class QAction;
class TAboutForm;

class TGraphMainForm : public QMainWindow, private TPlotViewHost {
    Q_OBJECT

public:
    // Reads the settings from `settingsFileName` and plots once, before the
    // window is shown; the destruction writes them back.
    explicit TGraphMainForm(std::string settingsFileName, QWidget* parent = nullptr);
    ~TGraphMainForm() override;

    TPlotView& Graph() const;
    TPlotEngine& Engine() { return Graph().Engine(); }
    // The drawing settings every plot request carries.
    TDrawingSettings& Drawing() { return Drawing_; }
    const std::string& SettingsFileName() const { return Autosave.FileName(); }
    // How many plots have been shown so far.
    int PlotCount() const { return Graph().PlotCount(); }

    // The plot request and the handlers it is reached from.
    void PlotRequest();
    void PlotBtnClick();
    void Cartesian1Click();
    void Polar1Click();
    void Exit1Click();

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
    // The curve played as sound, for as long as the Preferences say.
    TSoundPlayback& Playback() { return Playback_; }

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    void FormCreate();
    void FormDestroy();
    // The controls bound to the settings, through the one table that binds
    // them: all of them read into a record or shown from one.
    TSettings ControlSettings() const;
    // The record the settings file gets: the controls', but never an x range
    // that cannot be plotted; the last one that can stands in for it.
    TSettings SettingsToStore();
    void ShowSettings(const TSettings& settings);
    // The drawing settings whose items are in the Curve menu: shown from the
    // record, and a click that changes one replots (anew for the y fit).
    void ShowCurveMenuSettings();
    void ConnectCurveMenuSettings();
    template <class Each>
    void ForEachCurveMenuSetting(Each&& each);
    void WatchSettings();
    void SettingsChanged();
    void ConnectHandlers();
    void AttachTrackBarHandler();
    void ApplyFonts();
    void SetMode(bool cartesian);
    void SetTitleCaption();
    bool IsCartesian() const;
    // The x range texts, written with six significant digits.
    void WriteXRange(double low, double high);

    // What the view asks of the window.
    TPlotRequest CurrentRequest() const override;
    void ShowXRange(const std::string& low, const std::string& high) override;
    bool ClickZoomsIn() const override;
    void ShowPosition(const std::string& text) override;
    void ShowTrace(const std::string& text) override;

    std::unique_ptr<Ui::TGraphMainForm> Ui_;
    std::unique_ptr<TAboutForm> AboutForm_;
    TDrawingSettings Drawing_;
    TSettingsAutosave Autosave;
    TPictureExport Export;
    QMetaObject::Connection TrackBarHandler;
    // Set while the x range of the settings file cannot be plotted: until the
    // window is seen its plots show the default range, the boxes keeping
    // their texts.
    bool PlotDefaultRange = false;
    std::pair<std::string, std::string> LastUsableRange{"-10", "10"};
    // The Curve menu's reading windows, made when first asked for; they go
    // before the view they read.
    std::unique_ptr<TPointsDialog> PointsDialog;
    std::unique_ptr<TTableDialog> TableDialog;
    // Last, so that the sound stops before anything it reads goes.
    TSoundPlayback Playback_;
};
