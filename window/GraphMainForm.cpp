// The main window's life and its handlers: creation with the settings and
// the first plot, the plot request with its compile report, the mode, the
// deferred replot after a change of size, navigation, z and the examples,
// preferences, export, help and About, and the settings written at the end.
#include "window/GraphMainForm.h"

#include "about/AboutForm.h"
#include "about/HelpWindow.h"
#include "numeric/CheckedArithmetic.h"
#include "numeric/FloatingPoint.h"
#include "numeric/Exceptions.h"
#include "numeric/NumberText.h"
#include "plot/PictureFile.h"
#include "plot/PlotCanvas.h"
#include "plot/ProgramFaces.h"
#include "plot/core/FormulaCompile.h"
#include "plot/core/ViewNavigation.h"
#include "plot/output/PlotOutput.h"
#include "preferences/EditPreferences.h"
#include "settings/SettingsFile.h"
#include "shell/ErrorBox.h"
#include "shell/UserDialogs.h"
#include "ui_GraphMainForm.h"
#include "window/FlatButtonIcons.h"
#include "window/GraphImage.h"
#include "window/core/ExampleCaption.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <tuple>
#include <type_traits>

namespace {

const QString ApplicationTitle = QStringLiteral("Orvalis");
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

const char PositionFormat[] = "x = %8.5g,  y = %8.5g";

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

QString FromStd(const std::string& text)
{
    return QString::fromStdString(text);
}

// A control's value as the settings record and the plot request hold it.
std::string ValueOf(const QLineEdit* control)
{
    return control->text().toStdString();
}
std::int32_t ValueOf(const QSlider* control)
{
    return control->value();
}
bool ValueOf(const QAction* control)
{
    return control->isChecked();
}
std::string ValueOf(const QLabel* control)
{
    return control->text().toStdString();
}
void Show(QLineEdit* control, const std::string& value)
{
    control->setText(FromStd(value));
}
void Show(QSlider* control, std::int32_t value)
{
    control->setValue(value);
}
void Show(QAction* control, bool value)
{
    control->setChecked(value);
}
void Show(QLabel* control, const std::string& value)
{
    control->setText(FromStd(value));
}

// Calls `changed` whenever the user or the program changes the control.
template <class Changed>
void WatchControl(QLineEdit* control, Changed changed)
{
    QObject::connect(control, &QLineEdit::textChanged, changed);
}
template <class Changed>
void WatchControl(QSlider* control, Changed changed)
{
    QObject::connect(control, &QSlider::valueChanged, changed);
}
template <class Changed>
void WatchControl(QAction* control, Changed changed)
{
    QObject::connect(control, &QAction::toggled, changed);
}
template <class Changed>
void WatchControl(QLabel*, Changed)
{
}

// Changes are saved once they pause this long.
constexpr int SaveDelayMs = 300;

// The settings not yet written when the process ends without a close: the
// display's end makes the toolkit call exit(), which runs this and no
// destructor of the stack.
const std::string* UnsavedFileName = nullptr;
const std::optional<TSettings>* UnsavedSettings = nullptr;

void SaveAtExit()
{
    if (UnsavedFileName == nullptr || !UnsavedSettings->has_value())
        return;
    try {
        TIniFile file(*UnsavedFileName);
        WriteSettings(file, **UnsavedSettings);
    } catch (...) {
    }
}

// A control bound to its field of the settings record (whose key, default
// and range the settings file's key table gives), if it has one, and to its
// field of the plot request, if it has one.
template <class Control, class Value>
struct TBoundControl {
    Control* Ui_TGraphMainForm::*Widget;
    Value TSettings::*Setting;
    Value TPlotRequest::*Request;
};

template <class Control, class Value>
constexpr TBoundControl<Control, Value> Bind(Control* Ui_TGraphMainForm::*widget, Value TSettings::*setting,
                                             std::type_identity_t<Value> TPlotRequest::*request = nullptr)
{
    return {widget, setting, request};
}

template <class Control, class Value>
constexpr TBoundControl<Control, Value> Bind(Control* Ui_TGraphMainForm::*widget, std::nullptr_t,
                                             Value TPlotRequest::*request)
{
    return {widget, nullptr, request};
}

// Every control that carries a setting or a part of the plot request, once.
// The form is filled from this table, read back into each plot request and
// saved through it. z reaches the formula as FormulaZ, not through the
// request; the caption of the mode is no setting.
constexpr auto BoundControls = std::make_tuple(
    Bind(&Ui::TGraphMainForm::YFormula, &TSettings::YFormula, &TPlotRequest::Formula),
    Bind(&Ui::TGraphMainForm::XlowEdit, &TSettings::XLow, &TPlotRequest::XlowText),
    Bind(&Ui::TGraphMainForm::XhighEdit, &TSettings::Xhigh, &TPlotRequest::XhighText),
    Bind(&Ui::TGraphMainForm::TrackBar1, &TSettings::Z),
    Bind(&Ui::TGraphMainForm::Cartesian1, &TSettings::Cartesian, &TPlotRequest::Cartesian),
    Bind(&Ui::TGraphMainForm::Label1, nullptr, &TPlotRequest::TitleCaption));

template <class Each>
void ForEachBoundControl(Each&& each)
{
    std::apply([&](const auto&... row) { (each(row), ...); }, BoundControls);
}

}  // namespace

TGraphMainForm::TGraphMainForm(std::string settingsFileName, QWidget* parent)
    : QMainWindow(parent), Ui_(std::make_unique<Ui::TGraphMainForm>()), SettingsFileName_(std::move(settingsFileName))
{
    Ui_->setupUi(this);
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
    if (UnsavedSettings == &Unsaved) {
        UnsavedFileName = nullptr;
        UnsavedSettings = nullptr;
    }
    RunGuarded(nullptr, [this] { FormDestroy(); });
}

void TGraphMainForm::WatchSettings()
{
    SaveTimer.setSingleShot(true);
    SaveTimer.setInterval(SaveDelayMs);
    connect(&SaveTimer, &QTimer::timeout, this, &TGraphMainForm::SaveChangedSettings);
    ForEachBoundControl([&](const auto& row) { WatchControl(Ui_.get()->*row.Widget, [this] { SettingsChanged(); }); });
    static const bool atExit = std::atexit(SaveAtExit) == 0;
    if (atExit) {
        UnsavedFileName = &SettingsFileName_;
        UnsavedSettings = &Unsaved;
    }
}

void TGraphMainForm::SettingsChanged()
{
    Unsaved = ControlSettings();
    SaveTimer.start();
}

void TGraphMainForm::SaveChangedSettings()
{
    if (!Unsaved)
        return;
    // A refused write is reported when the window closes, not at every change.
    try {
        TIniFile file(SettingsFileName_);
        WriteSettings(file, *Unsaved);
    } catch (...) {
    }
    Unsaved.reset();
}

TGraphImage& TGraphMainForm::Graph() const
{
    return *Ui_->Graph;
}

void TGraphMainForm::ApplyFonts()
{
    centralWidget()->setFont(FontOf(WindowFont));
    for (QWidget* control : std::initializer_list<QWidget*>{
             Ui_->mousePosition, Ui_->Label1, Ui_->Label2, Ui_->Label3, Ui_->Label4, Ui_->XlowEdit,
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
                    [this, move = *move] { RunGuarded(this, [&] { Navigate(move); }); });
    }
    AttachTrackBarHandler();
    connect(Ui_->Examples1, &QMenu::triggered, this,
            [this](QAction* item) { RunGuarded(this, [&] { ExampleClick(item); }); });

    TGraphImage* graph = &Graph();
    connect(graph, &TGraphImage::MouseDown, this, [this](Qt::MouseButton button, Qt::KeyboardModifiers keys, int x, int y) {
        RunGuarded(this, [&] { GraphMouseDown(button, keys, x, y); });
    });
    connect(graph, &TGraphImage::MouseMove, this, [this](Qt::KeyboardModifiers keys, int x, int y) {
        RunGuarded(this, [&] { GraphMouseMove(keys, x, y); });
    });
    connect(graph, &TGraphImage::MouseUp, this, [this](Qt::MouseButton button, Qt::KeyboardModifiers keys, int x, int y) {
        RunGuarded(this, [&] { GraphMouseUp(button, keys, x, y); });
    });
    connect(graph, &TGraphImage::Wheel, this, [this](int angle, int x, int y) {
        RunGuarded(this, [&] { GraphMouseWheel(angle, x, y); });
    });
    connect(graph, &TGraphImage::Resized, this, guarded(&TGraphMainForm::FormResize));
}

void TGraphMainForm::AttachTrackBarHandler()
{
    TrackBarHandler = connect(Ui_->TrackBar1, &QSlider::valueChanged, this,
                              [this] { RunGuarded(this, [this] { TrackBar1Change(); }); });
}

void TGraphMainForm::FormCreate()
{
    PanDragActive = false;
    // Setting the track bar from the file must not plot: the one plot comes
    // after every setting is in place.
    disconnect(TrackBarHandler);
    ShowSettings(ReadSettings(TIniFile(SettingsFileName_)));
    SetMode(IsCartesian());
    SetTitleCaption();
    AttachTrackBarHandler();
    TrackBar1Change();
}

void TGraphMainForm::FormDestroy()
{
    TIniFile file(SettingsFileName_);
    WriteSettings(file, ControlSettings());
}

TSettings TGraphMainForm::ControlSettings() const
{
    TSettings settings;
    ForEachBoundControl([&](const auto& row) {
        if (row.Setting)
            settings.*row.Setting = ValueOf(Ui_.get()->*row.Widget);
    });
    settings.Drawing = Drawing_;
    return settings;
}

void TGraphMainForm::ShowSettings(const TSettings& settings)
{
    ForEachBoundControl([&](const auto& row) {
        if (row.Setting)
            Show(Ui_.get()->*row.Widget, settings.*row.Setting);
    });
    Drawing_ = settings.Drawing;
}

template <class Value>
Value TGraphMainForm::Setting(Value TSettings::*field) const
{
    std::optional<Value> value;
    ForEachBoundControl([&](const auto& row) {
        if constexpr (std::is_same_v<decltype(row.Setting), Value TSettings::*>) {
            if (row.Setting == field)
                value = ValueOf(Ui_.get()->*row.Widget);
        }
    });
    return *value;
}

template <class Value>
void TGraphMainForm::SetSetting(Value TSettings::*field, const Value& value)
{
    ForEachBoundControl([&](const auto& row) {
        if constexpr (std::is_same_v<decltype(row.Setting), Value TSettings::*>) {
            if (row.Setting == field)
                Show(Ui_.get()->*row.Widget, value);
        }
    });
}

void TGraphMainForm::PlotRequest()
{
    const TPlotRequest request = ReadPlotRequest();
    if (!CompileFormula(request.Formula))
        return;
    SyncPictureSize();
    Graph().SetPicture(Engine_.Plot(Evaluator, request));
    Shown = {request, Engine_.View(), Engine_.PictureSize(), FormulaZ};
    Graph().setAccessibleName(
        QStringLiteral("Graph of %1 = %2").arg(request.Cartesian ? 'y' : 'r').arg(FromStd(request.Formula)));
    ++PlotCount_;
}

TPlotRequest TGraphMainForm::ReadPlotRequest() const
{
    TPlotRequest request;
    ForEachBoundControl([&](const auto& row) {
        if (row.Request)
            request.*row.Request = ValueOf(Ui_.get()->*row.Widget);
    });
    request.Drawing = Drawing_;
    return request;
}

void TGraphMainForm::SyncPictureSize()
{
    Engine_.SetPictureSize({Graph().width(), Graph().height()});
    Engine_.SetDevicePixelRatio(Graph().devicePixelRatioF());
}

bool TGraphMainForm::CompileFormula(const std::string& formula)
{
    const std::optional<std::string> report = CompileForPlot(Evaluator, formula, "\r");
    if (report)
        UserDialogs().ShowMessage(this, ApplicationTitle, FromStd(*report), QMessageBox::NoIcon);
    return !report;
}

void TGraphMainForm::PlotBtnClick()
{
    Engine_.View().ResetView = true;
    PlotRequest();
}

void TGraphMainForm::SetMode(bool cartesian)
{
    SetSetting(&TSettings::Cartesian, cartesian);
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

void TGraphMainForm::FormResize()
{
    Graph().FitPictureToSize(ToQColor(Drawing_.BackgroundColor));
    Engine_.View().ResetView = true;
    QCoreApplication::postEvent(this, new QEvent(WM_PLOTREQUEST));
}

bool TGraphMainForm::event(QEvent* event)
{
    if (event->type() == WM_PLOTREQUEST) {
        RunGuarded(this, [this] { PlotRequest(); });
        return true;
    }
    return QMainWindow::event(event);
}

void TGraphMainForm::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LocaleChange)
        ReadDecimalSeparator();
    QMainWindow::changeEvent(event);
}

bool TGraphMainForm::IsCartesian() const
{
    return Setting(&TSettings::Cartesian);
}

void TGraphMainForm::WriteXRange(double low, double high)
{
    SetSetting(&TSettings::XLow, XRangeText(low));
    SetSetting(&TSettings::Xhigh, XRangeText(high));
}

void TGraphMainForm::ReadModeXRange(double& low, double& high) const
{
    if (IsCartesian()) {
        ReadXRange(Setting(&TSettings::XLow), Setting(&TSettings::Xhigh), low, high);
    } else {
        low = Engine_.View().XMin;
        high = Engine_.View().XMax;
    }
}

void TGraphMainForm::WriteModeXRange(double low, double high)
{
    if (IsCartesian()) {
        WriteXRange(low, high);
    } else {
        Engine_.View().XMin = low;
        Engine_.View().XMax = high;
    }
}

// Each navigation step moves the window and replots it as it is, without a
// fit; the x range is read before anything changes.
void TGraphMainForm::Navigate(TMove move)
{
    TViewWindow& view = Engine_.View();
    switch (move) {
    case TMove::Left:
    case TMove::Right: {
        double low, high;
        ReadModeXRange(low, high);
        (move == TMove::Left ? PanLeft : PanRight)(low, high);
        WriteModeXRange(low, high);
        break;
    }
    case TMove::Up:
        PanUp(view.YMin, view.YMax);
        break;
    case TMove::Down:
        PanDown(view.YMin, view.YMax);
        break;
    case TMove::Origin:
        if (IsCartesian())
            WriteXRange(-10, 10);
        view.ResetView = true;
        break;
    }
    PlotRequest();
}

void TGraphMainForm::GraphMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers keys, int X, int Y)
{
    SyncPictureSize();
    if (button == Qt::RightButton) {
        PanDragActive = true;
        PanDragStart = QPoint(X, Y);
        return;
    }
    if (button != Qt::LeftButton)
        return;

    double wx, wy, low, high;
    Engine_.PixelToWorld(X, Y, wx, wy);
    ReadModeXRange(low, high);
    // Ctrl held turns the zoom the other way.
    const bool zoomIn = Ui_->ZoomInBtn->isChecked() != keys.testFlag(Qt::ControlModifier);
    ZoomAbout(low, high, wx, zoomIn);
    WriteModeXRange(low, high);
    ZoomAbout(Engine_.View().YMin, Engine_.View().YMax, wy, zoomIn);
    PlotRequest();
}

void TGraphMainForm::GraphMouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y)
{
    if (!PanDragActive)
        return;
    PanDragActive = false;
    SyncPictureSize();
    double dx, dy, low, high;
    DragOffset(Engine_.View(), Engine_.PictureSize(), PanDragStart.x(), PanDragStart.y(), X, Y, dx, dy);
    ReadModeXRange(low, high);
    DragBy(low, high, dx);
    WriteModeXRange(low, high);
    DragBy(Engine_.View().YMin, Engine_.View().YMax, dy);
    PlotRequest();
}

void TGraphMainForm::GraphMouseMove(Qt::KeyboardModifiers, int X, int Y)
{
    SyncPictureSize();
    double x, y;
    ReadoutPosition(Engine_.View(), Engine_.PictureSize(), X, Y, x, y);
    Ui_->mousePosition->setText(FromStd(Format(PositionFormat, {x, y})));
}

void TGraphMainForm::GraphMouseWheel(int angleDelta, int X, int Y)
{
    const int notches = TakeWheelNotches(WheelAngle, angleDelta);
    if (notches == 0)
        return;
    SyncPictureSize();
    double wx, wy, low, high;
    Engine_.PixelToWorld(X, Y, wx, wy);
    ReadModeXRange(low, high);
    WheelZoomAbout(low, high, wx, notches);
    WriteModeXRange(low, high);
    WheelZoomAbout(Engine_.View().YMin, Engine_.View().YMax, wy, notches);
    PlotRequest();
}

void TGraphMainForm::TrackBar1Change()
{
    FormulaZ = StoreDouble(Setting(&TSettings::Z) / PositionsPerUnit);
    Ui_->Zedit->setText(FromStd(Format(ZFormat, {FormulaZ})).trimmed());
    PlotBtnClick();
}

void TGraphMainForm::ShowExample(const QString& formula, double low, double high)
{
    SetSetting(&TSettings::YFormula, formula.toStdString());
    WriteXRange(low, high);
    Engine_.View().ResetView = true;
    PlotRequest();
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
    SetSetting(&TSettings::YFormula, ExampleValue(items, "R"));
    SetSetting(&TSettings::XLow, PolarExampleLow);
    SetSetting(&TSettings::Xhigh, PolarExampleHigh);
    const std::string z = ExampleValue(items, "z");
    if (!z.empty()) {
        // A changed position plots at once, through the track bar's handler.
        SetSetting(&TSettings::Z, TruncToLow32(TextToNumber(z) * PositionsPerUnit));
    }
    Engine_.View().ResetView = true;
    SetTitleCaption();
    PlotRequest();
}

void TGraphMainForm::Preferences1Click()
{
    const TDrawingSettings before = Drawing_;
    EditPreferences(Drawing_, this);
    if (!(Drawing_ == before))
        SettingsChanged();
    // Whatever the answer, the picture is drawn again in the same view.
    PlotRequest();
}

void TGraphMainForm::SavetoClipboard1Click()
{
    if (Graph().HasPicture())
        QGuiApplication::clipboard()->setImage(Graph().Picture());
}

void TGraphMainForm::Savetobitmap1Click()
{
    if (!Graph().HasPicture())
        return;
    const std::optional<TSaveChoice> choice =
        UserDialogs().ChooseSaveFileName(this, SaveDialogFilters(), LastBitmapName, LastSaveFilter);
    if (!choice)
        return;
    LastBitmapName = choice->Name;
    LastSaveFilter = choice->Filter;
    // The name as chosen: no extension is added. A picture is the one shown;
    // any other format draws the shown plot again.
    const TOutputFormatRow& format = OutputFormatRow(SaveDialogFormat(choice->Name, choice->Filter));
    if (format.Encoder == TOutputEncoder::ImageWriter)
        WritePictureFile(Graph().Picture(), choice->Name, format.Name);
    else
        WriteWholeFile(choice->Name, PlotShownPage(format.Format));
}

QByteArray TGraphMainForm::PlotShownPage(TOutputFormat format) const
{
    // The shown plot drawn again as it was, by an engine and a compile of
    // its own, so that nothing of the window changes.
    TPlotEngine engine;
    engine.SetPictureSize(Shown.Size);
    engine.View() = Shown.View;
    engine.View().ResetView = false;
    TRapidEvaluator evaluator;
    if (const std::optional<std::string> report = CompileForPlot(evaluator, Shown.Request.Formula, " "))
        throw Exception(*report);
    const double z = FormulaZ;
    FormulaZ = Shown.Z;
    try {
        QByteArray page = PlotFile(engine, evaluator, Shown.Request, format);
        FormulaZ = z;
        return page;
    } catch (...) {
        FormulaZ = z;
        throw;
    }
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
