// The About window's behaviour; its layout is AboutForm.ui.
#include "about/AboutForm.h"

#include "about/BuildDate.h"
#include "about/JpegDecoder.h"
#include "ui_AboutForm.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QStyle>
#include <QUrl>

namespace {

// A fixed dialog frame: a caption and a close box, no minimise or maximise.
constexpr Qt::WindowFlags FrameFlags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                                       | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                                       | Qt::MSWindowsFixedSizeDialogHint;

void ShowPicture(QLabel& place, const QString& fileName)
{
    const QImage picture = LoadJpegFile(fileName);
    if (!picture.isNull())
        place.setPixmap(QPixmap::fromImage(picture));
}

} // namespace

TAboutForm::TAboutForm(QWidget* parent, const TAboutPictureFiles& pictures)
    : QDialog(parent), Form(std::make_unique<Ui::TAboutForm>())
{
    Form->setupUi(this);
    setWindowFlags(FrameFlags);
    setModal(false);
    Form->Title->setText(QStringLiteral("Orvalis " ORVALIS_SHORT_VERSION));
    Form->BuildDateLabel->setText(QString::fromStdString(FormatBuildDate(BuildEpoch())));
    Form->BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    ShowPicture(*Form->Picture, pictures.Picture);
    ShowPicture(*Form->Banner, pictures.Banner);

    connect(Form->BitBtn1, &QPushButton::clicked, this, &TAboutForm::BitBtn1Click);
    connect(Form->WebAddress, &TClickLabel::Clicked, this, &TAboutForm::WebAddressClick);
    connect(Form->EmailAddress, &TClickLabel::Clicked, this, &TAboutForm::EmailAddressClick);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TAboutForm::~TAboutForm() = default;

void TAboutForm::ShowAbout()
{
    show();
    raise();
    activateWindow();
}

void TAboutForm::BitBtn1Click()
{
    hide();
}

void TAboutForm::WebAddressClick()
{
    QDesktopServices::openUrl(QUrl(Form->WebAddress->text()));
}

void TAboutForm::EmailAddressClick()
{
    QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + Form->EmailAddress->text()));
}
