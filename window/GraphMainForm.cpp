// The main window's life: creation with the settings and the first plot,
// the plot request with its compile report, the mode, the deferred replot
// after a change of size, and the settings written at the end.
#include "window/GraphMainForm.h"

#include "window/FlatButtonIcons.h"
#include "window/GraphImage.h"
#include "plot/PlotCanvas.h"
#include "settings/SettingsFile.h"
#include "about/AboutForm.h"
#include "numeric/FloatingPoint.h"
#include "numeric/NumberText.h"
#include "shell/ErrorBox.h"
#include "shell/UserDialogs.h"
#include "ui_GraphMainForm.h"

#include <QActionGroup>
#include <QButtonGroup>
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
const TFontSetting WindowFont{"Microsoft Sans Serif", 11, false};
const TFontSetting ControlFont{"Courier New", 13, false};
const TFontSetting PlotButtonFont{"Arial", 13, true};

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
    setFont(FontOf(WindowFont));
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
    TDrawingSettings& drawing = Engine_.Settings();
    drawing.BackgroundColor = static_cast<TColor>(settings.BackgroundColor);
    drawing.AxisColor = static_cast<TColor>(settings.AxisColor);
    drawing.GoodPointColor = static_cast<TColor>(settings.GoodPointColor);
    drawing.BadPointColor = static_cast<TColor>(settings.BadPointColor);
    drawing.LineWidth = settings.LineWidth;
    drawing.Boundary = settings.Boundary;
    drawing.Ticks = settings.Ticks;
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
    settings.YFormula = FormulaText();
    settings.XLow = XlowText();
    settings.Xhigh = XhighText();
    const TDrawingSettings& drawing = Engine_.Settings();
    settings.BackgroundColor = static_cast<std::int32_t>(drawing.BackgroundColor);
    settings.AxisColor = static_cast<std::int32_t>(drawing.AxisColor);
    settings.GoodPointColor = static_cast<std::int32_t>(drawing.GoodPointColor);
    settings.BadPointColor = static_cast<std::int32_t>(drawing.BadPointColor);
    settings.LineWidth = drawing.LineWidth;
    settings.Boundary = drawing.Boundary;
    settings.Ticks = drawing.Ticks;
    settings.Z = Ui_->TrackBar1->value();
    settings.Cartesian = Ui_->Cartesian1->isChecked();
    TIniFile file(SettingsFileName_);
    WriteSettings(file, settings);
}

void TGraphMainForm::PlotRequest()
{
    if (!CompileFormula())
        return;
    SyncPictureSize();
    Ui_->Graph->SetPicture(Engine_.Plot(Evaluator));
    ++PlotCount_;
}

void TGraphMainForm::SyncPictureSize()
{
    Engine_.SetPictureSize({Ui_->Graph->width(), Ui_->Graph->height()});
    Engine_.SetDevicePixelRatio(Ui_->Graph->devicePixelRatioF());
}

bool TGraphMainForm::CompileFormula()
{
    const auto report = [this](const std::string& reason) {
        ResetFpu();
        const QString message = QStringLiteral("The formula is not valid at character ") +
                                QString::number(Evaluator.Position()) + QStringLiteral(".\r") + FromStd(reason);
        UserDialogs().ShowMessage(this, ApplicationTitle, message, QMessageBox::NoIcon);
        return false;
    };
    try {
        Evaluator.SetFormula(FormulaText());
        Evaluator.Compile();
        return true;
    } catch (const std::exception& error) {
        return report(CompileErrorReason(Evaluator, error));
    } catch (...) {
        return report(Evaluator.ErrorMessage());
    }
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
    Ui_->Graph->FitPictureToSize(ToQColor(Engine_.Settings().BackgroundColor));
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

std::string TGraphMainForm::XlowText() const
{
    return Ui_->XlowEdit->text().toStdString();
}

std::string TGraphMainForm::XhighText() const
{
    return Ui_->XhighEdit->text().toStdString();
}

void TGraphMainForm::SetXRangeTexts(const std::string& low, const std::string& high)
{
    Ui_->XlowEdit->setText(FromStd(low));
    Ui_->XhighEdit->setText(FromStd(high));
}

std::string TGraphMainForm::TitleCaption() const
{
    return Ui_->Label1->text().toStdString();
}

std::string TGraphMainForm::FormulaText() const
{
    return Ui_->YFormula->text().toStdString();
}
