// The main window's life and its handlers: creation with the settings and
// the first plot, the plot request with the controls read once, the mode,
// z and the examples, preferences, export, help and About, and the settings
// written at the end.
#include "window/GraphMainForm.h"

#include "about/AboutForm.h"
#include "about/HelpWindow.h"
#include "numeric/CheckedArithmetic.h"
#include "numeric/FloatingPoint.h"
#include "numeric/Exceptions.h"
#include "numeric/NumberText.h"
#include "plot/ProgramFaces.h"
#include "plot/core/ViewWindow.h"
#include "preferences/EditPreferences.h"
#include "shell/ErrorBox.h"
#include "ui_GraphMainForm.h"
#include "window/BoundControls.h"
#include "window/FlatButtonIcons.h"
#include "window/core/ExampleCaption.h"

#include <QGuiApplication>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QShowEvent>
#include <QSignalBlocker>

#include <algorithm>
#include <optional>

using namespace bound_controls;

namespace {

const QString CartesianCaption = QStringLiteral("Y =");
const QString PolarCaption = QStringLiteral("R =");
// The client area below the menu bar at start, so that Graph is 507 × 266.
constexpr int StartClientWidth = 507;
constexpr int StartClientHeight = 439;

struct TFontSetting {
    const char* Family;
    int Pixels;
    bool Bold;
};
const TFontSetting WindowFont{ProgramSansFace, 11, false};
const TFontSetting ControlFont{ProgramMonoFace, 13, false};
const TFontSetting PlotButtonFont{ProgramSansFace, 13, true};

constexpr long double PositionsPerUnit = 1000;
const char ZFormat[] = "%8.4g";
const double CartesianExampleLow = -10, CartesianExampleHigh = 10;
const std::string PolarExampleLow = "0";
const std::string PolarExampleHigh = "60";

QFont FontOf(const TFontSetting& setting)
{
    QFont font(QString::fromLatin1(setting.Family));
    font.setPixelSize(setting.Pixels);
    font.setBold(setting.Bold);
    return font;
}

// Posted when the window is first shown, after the plot its size asks for:
// what the start had to say is said then, in one box.
const QEvent::Type StartShown = static_cast<QEvent::Type>(QEvent::User + 2);
const std::string DefaultLow = "-10", DefaultHigh = "10";

// Why the two range texts cannot make a plot, naming the box at fault, or
// nothing when they can.
std::optional<std::string> XRangeProblem(const std::string& lowText, const std::string& highText)
{
    const struct {
        const char* Box;
        const std::string& Text;
    } boxes[] = {{"from", lowText}, {"to", highText}};
    double low, high;
    for (const auto& box : boxes) {
        try {
            ReadXRange(box.Text, box.Text, low, high);
        } catch (const std::exception& error) {
            ResetFpu();
            return "The box \"" + std::string(box.Box) + "\" of the x range holds \"" + box.Text +
                   "\", which is no number a plot can use: " + ErrorSentence(error.what());
        }
    }
    ReadXRange(lowText, highText, low, high);
    if (low == high)
        return "The x range is empty: the boxes \"from\" and \"to\" hold the same number, " + lowText + ".";
    if (!IsUsableRange(std::min(low, high), std::max(low, high)))
        return "The x range from " + lowText + " to " + highText + " is too narrow or too wide to plot.";
    return std::nullopt;
}

// z of a track bar position.
double ZOfPosition(std::int32_t position)
{
    return StoreDouble(position / PositionsPerUnit);
}

}  // namespace

TGraphMainForm::TGraphMainForm(std::string settingsFileName, QWidget* parent)
    : QMainWindow(parent), Ui_(std::make_unique<Ui::TGraphMainForm>()), Autosave(std::move(settingsFileName))
{
    Ui_->setupUi(this);
    Graph().SetHost(this);
    ApplyFonts();
    ConnectHandlers();

    // Graph gets its start size now, so the first plot is drawn at it.
    resize(StartClientWidth, StartClientHeight + menuBar()->sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    layout()->activate();

    RunGuarded(this, [this] { FormCreate(); });
    WatchSettings();
}

TGraphMainForm::~TGraphMainForm()
{
    RunGuarded(nullptr, [this] { FormDestroy(); });
}

void TGraphMainForm::WatchSettings()
{
    ForEachBoundControl([&](const auto& row) { WatchControl(Ui_.get()->*row.Widget, [this] { SettingsChanged(); }); });
}

void TGraphMainForm::SettingsChanged()
{
    Autosave.Changed(SettingsToStore());
}

TPlotView& TGraphMainForm::Graph() const
{
    return *Ui_->Graph;
}

void TGraphMainForm::ApplyFonts()
{
    centralWidget()->setFont(FontOf(WindowFont));
    for (QWidget* control : std::initializer_list<QWidget*>{
             Ui_->mousePosition, Ui_->curveReadout, Ui_->Label1, Ui_->Label2, Ui_->Label3, Ui_->Label4, Ui_->XlowEdit,
             Ui_->XhighEdit, Ui_->Zedit})
        control->setFont(FontOf(ControlFont));
    QPushButton* plotButton = Ui_->PlotBtn;
    plotButton->setFont(FontOf(PlotButtonFont));
    QPalette palette = plotButton->palette();
    palette.setColor(QPalette::ButtonText, palette.color(QPalette::Active, QPalette::Highlight));
    plotButton->setPalette(palette);
}

void TGraphMainForm::ConnectHandlers()
{
    const auto guarded = [this](void (TGraphMainForm::*handler)()) {
        return [this, handler] { RunGuarded(this, [&] { (this->*handler)(); }); };
    };
    connect(Ui_->PlotBtn, &QPushButton::clicked, this, guarded(&TGraphMainForm::PlotBtnClick));
    const std::pair<QAction*, void (TGraphMainForm::*)()> menuItems[] = {
        {Ui_->Cartesian1, &TGraphMainForm::Cartesian1Click},
        {Ui_->Polar1, &TGraphMainForm::Polar1Click},
        {Ui_->Exit1, &TGraphMainForm::Exit1Click},
        {Ui_->Contents1, &TGraphMainForm::Contents1Click},
        {Ui_->AboutOrvalis1, &TGraphMainForm::AboutOrvalis1Click},
        {Ui_->Preferences1, &TGraphMainForm::Preferences1Click},
        {Ui_->SavetoClipboard1, &TGraphMainForm::SavetoClipboard1Click},
        {Ui_->Savetobitmapfile1, &TGraphMainForm::Savetobitmap1Click}};
    for (const auto& [item, handler] : menuItems)
        connect(item, &QAction::triggered, this, guarded(handler));
    // The flat buttons with their pictures; the two magnifiers only choose
    // the direction of a click zoom.
    using TMove = TPlotView::TMove;
    const struct {
        QToolButton* Button;
        TFlatPicture Picture;
        std::optional<TMove> Move;
    } flatButtons[] = {{Ui_->UpBtn, TFlatPicture::ArrowUp, TMove::Up},
                       {Ui_->DownBtn, TFlatPicture::ArrowDown, TMove::Down},
                       {Ui_->LeftBtn, TFlatPicture::ArrowLeft, TMove::Left},
                       {Ui_->RightBtn, TFlatPicture::ArrowRight, TMove::Right},
                       {Ui_->OriginBtn, TFlatPicture::Origin, TMove::Origin},
                       {Ui_->ZoomOutBtn, TFlatPicture::ZoomOut, std::nullopt},
                       {Ui_->ZoomInBtn, TFlatPicture::ZoomIn, std::nullopt}};
    for (const auto& [button, picture, move] : flatButtons) {
        button->setIcon(FlatButtonIcon(picture));
        if (move)
            connect(button, &QToolButton::clicked, this,
                    [this, move = *move] { RunGuarded(this, [&] { Graph().Navigate(move); }); });
    }
    AttachTrackBarHandler();
    ConnectCurveMenuSettings();
    connect(Ui_->Trace1, &QAction::toggled, this, [this](bool on) {
        RunGuarded(this, [&] {
            Graph().SetTrace(on);
            Ui_->curveReadout->setVisible(on);
        });
    });
    // T toggles the trace while the picture has the keyboard.
    auto* traceKey = new QShortcut(QKeySequence(Qt::Key_T), &Graph());
    traceKey->setContext(Qt::WidgetShortcut);
    connect(traceKey, &QShortcut::activated, Ui_->Trace1, &QAction::toggle);
    connect(Ui_->PointsOfInterest1, &QAction::triggered, this, [this] { ShowCurveDialog(PointsDialog, Graph()); });
    connect(Ui_->TableOfValues1, &QAction::triggered, this, [this] { ShowCurveDialog(TableDialog, Graph()); });
    Playback_.Attach(*Ui_->Curve1, Graph(), *this);
    connect(Ui_->Examples1, &QMenu::triggered, this,
            [this](QAction* item) { RunGuarded(this, [&] { ExampleClick(item); }); });
}

void TGraphMainForm::AttachTrackBarHandler()
{
    TrackBarHandler = connect(Ui_->TrackBar1, &QSlider::valueChanged, this,
                              [this] { RunGuarded(this, [this] { TrackBar1Change(); }); });
}

// What the start finds wrong is said once the window is seen, in one box:
// the plots until then keep their reports. An x range from the file that
// cannot be plotted stays in its boxes while the picture shows the default.
void TGraphMainForm::FormCreate()
{
    Graph().HoldReports();
    // Setting the track bar from the file must not plot: the one plot comes
    // after every setting is in place.
    disconnect(TrackBarHandler);
    const TSettings stored = ReadSettings(TIniFile(SettingsFileName()));
    ShowSettings(stored);
    SetMode(IsCartesian());
    SetTitleCaption();
    AttachTrackBarHandler();
    if (const std::optional<std::string> problem = XRangeProblem(stored.XLow, stored.Xhigh)) {
        PlotDefaultRange = true;
        Graph().Report(FromStd(*problem + "\nThe graph shows x from " + DefaultLow + " to " + DefaultHigh + "."),
                       QMessageBox::Warning);
    } else {
        LastUsableRange = {stored.XLow, stored.Xhigh};
    }
    Graph().Guarded([this] { TrackBar1Change(); });
    Ui_->YFormula->setFocus();  // typing starts with the formula
}

void TGraphMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        QCoreApplication::postEvent(this, new QEvent(StartShown));
}

bool TGraphMainForm::event(QEvent* event)
{
    if (event->type() == StartShown) {
        PlotDefaultRange = false;
        Graph().ReleaseReports();
        return true;
    }
    return QMainWindow::event(event);
}

void TGraphMainForm::FormDestroy()
{
    TIniFile file(SettingsFileName());
    WriteSettings(file, SettingsToStore());
}

TSettings TGraphMainForm::SettingsToStore()
{
    TSettings settings = ControlSettings();
    if (XRangeProblem(settings.XLow, settings.Xhigh)) {
        settings.XLow = LastUsableRange.first;
        settings.Xhigh = LastUsableRange.second;
    } else {
        LastUsableRange = {settings.XLow, settings.Xhigh};
    }
    return settings;
}

TSettings TGraphMainForm::ControlSettings() const
{
    TSettings settings;
    ForEachBoundControl([&](const auto& row) {
        if (row.Setting)
            settings.*row.Setting = ValueOf(Ui_.get()->*row.Widget);
    });
    settings.Drawing = Drawing_;
    settings.SoundSeconds = Playback_.Seconds;
    return settings;
}

void TGraphMainForm::ShowSettings(const TSettings& settings)
{
    ForEachBoundControl([&](const auto& row) {
        if (row.Setting)
            Show(Ui_.get()->*row.Widget, settings.*row.Setting);
    });
    Drawing_ = settings.Drawing;
    Playback_.Seconds = settings.SoundSeconds;
    ShowCurveMenuSettings();
}

template <class Each>
void TGraphMainForm::ForEachCurveMenuSetting(Each&& each)
{
    for (const TDrawingSetting& row : DrawingSettingsTable)
        if (row.Place == TControlPlace::CurveMenu)
            if (QAction* item = findChild<QAction*>(QString::fromLatin1(row.Widget)))
                each(item, std::get<bool TDrawingSettings::*>(row.Field));
}

void TGraphMainForm::ShowCurveMenuSettings()
{
    ForEachCurveMenuSetting([this](QAction* item, bool TDrawingSettings::*field) {
        const QSignalBlocker quiet(item);
        item->setChecked(Drawing_.*field);
    });
}

void TGraphMainForm::ConnectCurveMenuSettings()
{
    ForEachCurveMenuSetting([this](QAction* item, bool TDrawingSettings::*field) {
        connect(item, &QAction::toggled, this, [this, field](bool on) {
            RunGuarded(this, [&] {
                Drawing_.*field = on;
                SettingsChanged();
                // A new y extent is a new fit; the scale's place is not.
                field == &TDrawingSettings::FitY ? Graph().PlotFitted() : Graph().Replot();
            });
        });
    });
}

TPlotRequest TGraphMainForm::CurrentRequest() const
{
    TPlotRequest request;
    ForEachBoundControl([&](const auto& row) {
        if (row.Request)
            request.*row.Request = ValueOf(Ui_.get()->*row.Widget);
    });
    if (PlotDefaultRange) {
        request.XlowText = DefaultLow;
        request.XhighText = DefaultHigh;
    }
    request.Z = ZOfPosition(Ui_->TrackBar1->value());
    request.Drawing = Drawing_;
    return request;
}

void TGraphMainForm::ShowXRange(const std::string& low, const std::string& high)
{
    Ui_->XlowEdit->setText(FromStd(low));
    Ui_->XhighEdit->setText(FromStd(high));
}

bool TGraphMainForm::ClickZoomsIn() const
{
    return Ui_->ZoomInBtn->isChecked();
}

void TGraphMainForm::ShowPosition(const std::string& text)
{
    Ui_->mousePosition->setText(FromStd(text));
}

void TGraphMainForm::ShowTrace(const std::string& text)
{
    Ui_->curveReadout->setText(FromStd(text));
    Ui_->curveReadout->setVisible(Graph().Tracing());
}

void TGraphMainForm::PlotRequest()
{
    Graph().Replot();
}

void TGraphMainForm::PlotBtnClick()
{
    Graph().PlotFitted();
}

void TGraphMainForm::SetMode(bool cartesian)
{
    Ui_->Cartesian1->setChecked(cartesian);
    Ui_->Polar1->setChecked(!cartesian);
}

void TGraphMainForm::SetTitleCaption()
{
    Ui_->Label1->setText(IsCartesian() ? CartesianCaption : PolarCaption);
}

void TGraphMainForm::Cartesian1Click()
{
    SetMode(true);
    SetTitleCaption();
    PlotBtnClick();
}

void TGraphMainForm::Polar1Click()
{
    SetMode(false);
    SetTitleCaption();
    PlotBtnClick();
}

void TGraphMainForm::Exit1Click()
{
    close();
}

void TGraphMainForm::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LocaleChange)
        ReadDecimalSeparator();
    QMainWindow::changeEvent(event);
}

bool TGraphMainForm::IsCartesian() const
{
    return Ui_->Cartesian1->isChecked();
}

void TGraphMainForm::WriteXRange(double low, double high)
{
    const auto [lowText, highText] = XRangeTexts(low, high);
    ShowXRange(lowText, highText);
}

void TGraphMainForm::TrackBar1Change()
{
    Ui_->Zedit->setText(FromStd(Format(ZFormat, {ZOfPosition(Ui_->TrackBar1->value())})).trimmed());
    PlotBtnClick();
}

void TGraphMainForm::ShowExample(const QString& formula, double low, double high)
{
    Ui_->YFormula->setText(formula);
    WriteXRange(low, high);
    Graph().PlotFitted();
}

void TGraphMainForm::ExampleClick(QAction* item)
{
    // The caption describes the example entirely.
    const std::vector<std::string> items = ExampleItems(item->text().toStdString());
    const std::string y = ExampleValue(items, "y");
    if (!y.empty()) {
        SetMode(true);
        SetTitleCaption();
        ShowExample(FromStd(y), CartesianExampleLow, CartesianExampleHigh);
        return;
    }
    SetMode(false);
    Ui_->YFormula->setText(FromStd(ExampleValue(items, "R")));
    ShowXRange(PolarExampleLow, PolarExampleHigh);
    const std::string z = ExampleValue(items, "z");
    if (!z.empty()) {
        // A changed position plots at once, through the track bar's handler.
        Ui_->TrackBar1->setValue(TruncToLow32(TextToNumber(z) * PositionsPerUnit));
    }
    Graph().RequestFit();
    SetTitleCaption();
    PlotRequest();
}

void TGraphMainForm::Preferences1Click()
{
    const TSettings before = ControlSettings();
    if (EditPreferences(Drawing_, Playback_.Seconds, this) && !(ControlSettings() == before))
        SettingsChanged();
    // Whatever the answer, the picture is drawn again in the same view.
    PlotRequest();
}

void TGraphMainForm::SavetoClipboard1Click()
{
    CopyPictureToClipboard(Graph());
}

void TGraphMainForm::Savetobitmap1Click()
{
    Export.SaveToFile(this, Graph());
}

void TGraphMainForm::CreateAboutForm()
{
    if (!AboutForm_)
        AboutForm_ = std::make_unique<TAboutForm>();
}

void TGraphMainForm::AboutOrvalis1Click()
{
    CreateAboutForm();
    AboutForm_->ShowAbout();
}

void TGraphMainForm::Contents1Click()
{
    ShowHelpContents(this);
}
