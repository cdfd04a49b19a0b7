// The drawing settings through the Preferences dialog, the picture shown put
// on the clipboard or into a bitmap file, and the help and About windows.
#include "window/GraphImage.h"
#include "window/GraphMainForm.h"
#include "plot/PictureFile.h"
#include "about/AboutForm.h"
#include "about/HelpWindow.h"
#include "preferences/EditPreferences.h"
#include "shell/UserDialogs.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

const QString BitmapFilter = QStringLiteral("Bitmaps (*.bmp)");

}  // namespace

void TGraphMainForm::Preferences1Click()
{
    TDrawingSettings& settings = Engine_.Settings();
    EditPreferences(settings.BackgroundColor, settings.AxisColor, settings.GoodPointColor, settings.BadPointColor,
                    settings.LineWidth, settings.Boundary, settings.Ticks, this);
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
