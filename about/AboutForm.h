// TAboutForm: the About window with the program's title and version, a
// description, the web and mail links, the build date and the rights line.
#pragma once

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class TAboutForm;
}

// Where the two pictures come from: the JPEG files built into the program,
// unless a caller (a test) names others.
struct TAboutPictureFiles {
    QString Picture = QStringLiteral(":/about/Rose.jpg");
    QString Banner = QStringLiteral(":/about/Banner.jpg");
};

class TAboutForm : public QDialog {
    Q_OBJECT
public:
    // Created hidden and centred on the screen; kept for the program's
    // lifetime and shown again and again. A picture that cannot be decoded
    // leaves its place empty.
    explicit TAboutForm(QWidget* parent = nullptr, const TAboutPictureFiles& pictures = {});
    ~TAboutForm() override;

    // Help > "About Orvalis...": shows the window without making it modal and
    // brings it to the front; while it is open, only brings it to the front.
    void ShowAbout();

private:
    // "Close": hides the window; it is not destroyed.
    void BitBtn1Click();
    // The links open with the desktop's browser and mail program; a link the
    // desktop cannot open is ignored.
    void WebAddressClick();
    void EmailAddressClick();

    std::unique_ptr<Ui::TAboutForm> Form;
};
