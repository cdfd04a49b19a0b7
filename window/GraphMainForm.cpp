// The main window's life and its handlers: creation with the settings and
// the first plot, the plot request with its compile report, the mode, the
// deferred replot after a change of size, navigation, z and the examples,
// preferences, export, help and About, and the settings written at the end.
#include "window/GraphMainForm.h"

#include "about/AboutForm.h"
#include "about/HelpWindow.h"
#include "numeric/CheckedArithmetic.h"
#include "numeric/FloatingPoint.h"
#include "numeric/NumberText.h"
#include "plot/PictureFile.h"
#include "plot/PlotCanvas.h"
#include "plot/ProgramFaces.h"
#include "plot/core/FormulaCompile.h"
#include "plot/core/ViewNavigation.h"
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
const QString PolarExampleLow = QStringLiteral("0");
const QString PolarExampleHigh = QStringLiteral("60");

const QString BitmapFilter = QStringLiteral("Bitmaps (*.bmp)");

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

}  // namespace

TGraphMainForm::TGraphMainForm(std::string settingsFileName, QWidget* parent)
    : QMainWindow(parent), Ui_(std::make_unique<Ui::TGraphMainForm>()), SettingsFileName_(std::move(settingsFileName))
{
    Ui_->setupUi(this);
    ApplyFonts();
    const std::pair<QToolButton*, TFlatPicture> pictures[] = {
        {Ui_->UpBtn, TFlatPicture::ArrowUp},       {Ui_->DownBtn, TFlatPicture::ArrowDown},
        {Ui_->LeftBtn, TFlatPicture::ArrowLeft},   {Ui_->RightBtn, TFlatPicture::ArrowRight},
        {Ui_->OriginBtn, TFlatPicture::Origin},    {Ui_->ZoomOutBtn, TFlatPicture::ZoomOut},
        {Ui_->ZoomInBtn, TFlatPicture::ZoomIn}};
    for (const auto& [button, picture] : pictures)
        button->setIcon(FlatButtonIcon(picture));
    Ui_->ZoomInBtn->setChecked(true);
    ConnectHandlers();

    // Graph gets its start size now, so the first plot is drawn at it.
    resize(StartClientWidth, StartClientHeight + menuBar()->sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    layout()->activate();

    RunGuarded(this, [this] { FormCreate(); });
}

TGraphMainForm::~TGraphMainForm()
{
    RunGuarded(nullptr, [this] { FormDestroy(); });
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
    Ui_->PlotBtn->setFont(FontOf(PlotButtonFont));
    QPalette palette = Ui_->PlotBtn->palette();
    palette.setColor(QPalette::ButtonText, palette.color(QPalette::Active, QPalette::Highlight));
    Ui_->PlotBtn->setPalette(palette);
}

void TGraphMainForm::ConnectHandlers()
{
    const auto guarded = [this](void (TGraphMainForm::*handler)()) {
        return [this, handler] { RunGuarded(this, [&] { (this->*handler)(); }); };
    };
    connect(Ui_->PlotBtn, &QPushButton::clicked, this, guarded(&TGraphMainForm::PlotBtnClick));
    connect(Ui_->Cartesian1, &QAction::triggered, this, guarded(&TGraphMainForm::Cartesian1Click));
    connect(Ui_->Polar1, &QAction::triggered, this, guarded(&TGraphMainForm::Polar1Click));
    connect(Ui_->Exit1, &QAction::triggered, this, guarded(&TGraphMainForm::Exit1Click));
    connect(Ui_->Contents1, &QAction::triggered, this, guarded(&TGraphMainForm::Contents1Click));
    connect(Ui_->AboutOrvalis1, &QAction::triggered, this, guarded(&TGraphMainForm::AboutOrvalis1Click));
    connect(Ui_->Preferences1, &QAction::triggered, this, guarded(&TGraphMainForm::Preferences1Click));
    connect(Ui_->SavetoClipboard1, &QAction::triggered, this, guarded(&TGraphMainForm::SavetoClipboard1Click));
    connect(Ui_->Savetobitmapfile1, &QAction::triggered, this, guarded(&TGraphMainForm::Savetobitmap1Click));
    connect(Ui_->UpBtn, &QToolButton::clicked, this, guarded(&TGraphMainForm::UpBtnClick));
    connect(Ui_->DownBtn, &QToolButton::clicked, this, guarded(&TGraphMainForm::DownBtnClick));
    connect(Ui_->LeftBtn, &QToolButton::clicked, this, guarded(&TGraphMainForm::LeftBtnClick));
    connect(Ui_->RightBtn, &QToolButton::clicked, this, guarded(&TGraphMainForm::RightBtnClick));
    connect(Ui_->OriginBtn, &QToolButton::clicked, this, guarded(&TGraphMainForm::OriginBtnClick));
    AttachTrackBarHandler();
    connect(Ui_->Examples1, &QMenu::triggered, this,
            [this](QAction* item) { RunGuarded(this, [&] { ExampleClick(item); }); });

    TGraphImage* graph = Ui_->Graph;
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
    const TSettings settings = ReadSettings(TIniFile(SettingsFileName_));
    Ui_->YFormula->setText(FromStd(settings.YFormula));
    Ui_->XlowEdit->setText(FromStd(settings.XLow));
    Ui_->XhighEdit->setText(FromStd(settings.Xhigh));
    Drawing_ = settings.Drawing;
    Ui_->TrackBar1->setValue(settings.Z);
    Ui_->Cartesian1->setChecked(settings.Cartesian);
    Ui_->Polar1->setChecked(!Ui_->Cartesian1->isChecked());
    if (Ui_->Polar1->isChecked())
        Ui_->Label1->setText(PolarCaption);
    AttachTrackBarHandler();
    TrackBar1Change();
}

void TGraphMainForm::FormDestroy()
{
    TSettings settings;
    settings.YFormula = Ui_->YFormula->text().toStdString();
    settings.XLow = Ui_->XlowEdit->text().toStdString();
    settings.Xhigh = Ui_->XhighEdit->text().toStdString();
    settings.Drawing = Drawing_;
    settings.Z = Ui_->TrackBar1->value();
    settings.Cartesian = Ui_->Cartesian1->isChecked();
    TIniFile file(SettingsFileName_);
    WriteSettings(file, settings);
}

void TGraphMainForm::PlotRequest()
{
    const TPlotRequest request = ReadPlotRequest();
    if (!CompileFormula(request.Formula))
        return;
    SyncPictureSize();
    Ui_->Graph->SetPicture(Engine_.Plot(Evaluator, request));
    ++PlotCount_;
}

TPlotRequest TGraphMainForm::ReadPlotRequest() const
{
    TPlotRequest request;
    request.Formula = Ui_->YFormula->text().toStdString();
    request.XlowText = Ui_->XlowEdit->text().toStdString();
    request.XhighText = Ui_->XhighEdit->text().toStdString();
    request.Cartesian = IsCartesian();
    request.TitleCaption = Ui_->Label1->text().toStdString();
    request.Drawing = Drawing_;
    return request;
}

void TGraphMainForm::SyncPictureSize()
{
    Engine_.SetPictureSize({Ui_->Graph->width(), Ui_->Graph->height()});
    Engine_.SetDevicePixelRatio(Ui_->Graph->devicePixelRatioF());
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

void TGraphMainForm::FormResize()
{
    Ui_->Graph->FitPictureToSize(ToQColor(Drawing_.BackgroundColor));
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
    return Ui_->Cartesian1->isChecked();
}

void TGraphMainForm::WriteXRange(double low, double high)
{
    Ui_->XlowEdit->setText(FromStd(XRangeText(low)));
    Ui_->XhighEdit->setText(FromStd(XRangeText(high)));
}

void TGraphMainForm::ReadModeXRange(double& low, double& high) const
{
    if (IsCartesian()) {
        ReadXRange(Ui_->XlowEdit->text().toStdString(), Ui_->XhighEdit->text().toStdString(), low, high);
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

void TGraphMainForm::LeftBtnClick()
{
    double low, high;
    ReadModeXRange(low, high);
    PanLeft(low, high);
    WriteModeXRange(low, high);
    PlotRequest();
}

void TGraphMainForm::RightBtnClick()
{
    double low, high;
    ReadModeXRange(low, high);
    PanRight(low, high);
    WriteModeXRange(low, high);
    PlotRequest();
}

void TGraphMainForm::UpBtnClick()
{
    PanUp(Engine_.View().YMin, Engine_.View().YMax);
    PlotRequest();
}

void TGraphMainForm::DownBtnClick()
{
    PanDown(Engine_.View().YMin, Engine_.View().YMax);
    PlotRequest();
}

void TGraphMainForm::OriginBtnClick()
{
    if (IsCartesian())
        WriteXRange(-10, 10);
    Engine_.View().ResetView = true;
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
    FormulaZ = StoreDouble(Ui_->TrackBar1->value() / PositionsPerUnit);
    Ui_->Zedit->setText(FromStd(Format(ZFormat, {FormulaZ})).trimmed());
    PlotBtnClick();
}

void TGraphMainForm::ShowExample(const QString& formula, double low, double high)
{
    Ui_->YFormula->setText(formula);
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
    Ui_->YFormula->setText(FromStd(ExampleValue(items, "R")));
    Ui_->XlowEdit->setText(PolarExampleLow);
    Ui_->XhighEdit->setText(PolarExampleHigh);
    const std::string z = ExampleValue(items, "z");
    if (!z.empty()) {
        // A changed position plots at once, through the track bar's handler.
        Ui_->TrackBar1->setValue(TruncToLow32(TextToNumber(z) * PositionsPerUnit));
    }
    Engine_.View().ResetView = true;
    SetTitleCaption();
    PlotRequest();
}

void TGraphMainForm::Preferences1Click()
{
    EditPreferences(Drawing_, this);
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
    const std::optional<QString> name = UserDialogs().ChooseSaveFileName(this, BitmapFilter, LastBitmapName);
    if (!name)
        return;
    LastBitmapName = *name;
    // The name as chosen: no extension is added, and the format is BMP
    // whatever the name says.
    WritePictureFile(Graph().Picture(), *name, "bmp");
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
