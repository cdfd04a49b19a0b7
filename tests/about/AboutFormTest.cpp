// The About window as a user meets it: its layout, texts, fonts and pictures,
// the title's shadow, the links, and Close; driven offscreen.
#include "about/AboutForm.h"

#include "about/BuildDate.h"
#include "about/ClickLabel.h"
#include "plot/ProgramFaces.h"
#include "UrlCatcher.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr QRgb ShadowGrey = 0xBCBCBC;

class AboutForm : public testing::Test {
protected:
    void SetUp() override { Show(Form); }

    static void Show(TAboutForm& form)
    {
        form.ShowAbout();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    template <class Widget = QWidget>
    Widget& Control(const char* name, TAboutForm& form)
    {
        auto* control = form.findChild<Widget*>(name);
        EXPECT_NE(control, nullptr) << name;
        if (control == nullptr)
            throw std::runtime_error(std::string("no control ") + name);
        return *control;
    }
    template <class Widget = QWidget>
    Widget& Control(const char* name) { return Control<Widget>(name, Form); }

    QString Text(const char* name) { return Control<QLabel>(name).text(); }

    TAboutForm Form;
};

struct TPlace {
    const char* Name;
    QRect Geometry;  // in the parent; an empty size when only the place is given
};

} // namespace

TEST_F(AboutForm, ClientAreaCaptionAndFrame)
{
    EXPECT_EQ(Form.size(), QSize(398, 356));
    EXPECT_EQ(Form.minimumSize(), Form.maximumSize()) << "the frame is fixed";
    EXPECT_EQ(Form.windowTitle(), "About...");
    const Qt::WindowFlags flags = Form.windowFlags();
    EXPECT_TRUE(flags & Qt::Dialog);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(Form.isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(AboutForm, ControlsStandWhereTheLayoutPutsThem)
{
    const TPlace places[] = {
        {"Picture", {174, 8, 335, 279}},
        {"Title", {20, 14, 305, 54}},
        {"Description", {20, 84, 191, 39}},
        {"WebSiteLabel", {20, 142, 0, 0}},
        {"WebAddress", {78, 142, 0, 0}},
        {"EmailLabel", {20, 166, 0, 0}},
        {"EmailAddress", {78, 164, 0, 0}},
        {"BuildDateLabel", {20, 196, 0, 0}},
        {"RightsLabel", {20, 270, 0, 0}},
        {"BottomPanel", {18, 292, 361, 69}},
        {"Rule", {4, 1, 357, 2}},  // in the panel, as are the two below
        {"Banner", {0, 11, 200, 48}},
        {"BitBtn1", {254, 18, 105, 31}},
    };
    for (const TPlace& place : places) {
        SCOPED_TRACE(place.Name);
        const QWidget& control = Control(place.Name);
        EXPECT_EQ(control.pos(), place.Geometry.topLeft());
        if (!place.Geometry.size().isEmpty()) {
            EXPECT_EQ(control.size(), place.Geometry.size());
        }
    }
    for (const char* inPanel : {"Rule", "Banner", "BitBtn1"})
        EXPECT_EQ(Control(inPanel).parentWidget(), &Control("BottomPanel")) << inPanel;
    // The picture is the lowest of the window's controls: the texts lie over it.
    EXPECT_EQ(Form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly).first(), &Control("Picture"));
}

TEST_F(AboutForm, TextsAreWholeInTheirPlaces)
{
    // Trailing blanks of a caption ("Web site :  ") may run past its label:
    // only what is drawn has to fit.
    for (const char* name : {"Title", "WebSiteLabel", "WebAddress", "EmailLabel", "EmailAddress",
                             "BuildDateLabel", "RightsLabel"}) {
        SCOPED_TRACE(name);
        const QLabel& label = Control<QLabel>(name);
        EXPECT_LE(label.fontMetrics().horizontalAdvance(label.text().trimmed()), label.width());
        EXPECT_LE(label.fontMetrics().height(), label.height());
    }
    const QLabel& description = Control<QLabel>("Description");
    EXPECT_TRUE(description.wordWrap());
    EXPECT_LE(description.heightForWidth(description.width()), description.height());
    // The labels beside the addresses end before the addresses begin.
    EXPECT_LT(Control("WebSiteLabel").geometry().right(), Control("WebAddress").x());
    EXPECT_LT(Control("EmailLabel").geometry().right(), Control("EmailAddress").x());
}

TEST_F(AboutForm, Captions)
{
    EXPECT_EQ(Text("Title"), "Orvalis " ORVALIS_SHORT_VERSION);
    EXPECT_EQ(Text("WebSiteLabel"), "Web site :  ");
    EXPECT_EQ(Text("EmailLabel"), "Email : ");
    EXPECT_EQ(Text("WebAddress"), "https://orvalis.example.org/");
    EXPECT_EQ(Text("EmailAddress"), "support@orvalis.example.org");
    EXPECT_EQ(Control<QPushButton>("BitBtn1").text(), "&Close");
    const QString description = Text("Description");
    for (const char* word : {"Cartesian", "polar", "graphs", "formulas"})
        EXPECT_TRUE(description.contains(word)) << word;
    EXPECT_TRUE(description.endsWith('.'));
    EXPECT_TRUE(Text("RightsLabel").contains(QRegularExpression("^© \\d{4} The Orvalis developers$")));
}

TEST_F(AboutForm, BuildDateIsTheDayOfTheBuild)
{
    const QString text = Text("BuildDateLabel");
    EXPECT_TRUE(text.contains(QRegularExpression(
        "^Build Date : (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) \\d\\d, \\d{4} $")))
        << text.toStdString();
    EXPECT_EQ(text.toStdString(), FormatBuildDate(BuildEpoch()));
    // The day compiled in is a UTC midnight and not in the future.
    EXPECT_EQ(BuildEpoch() % 86400, 0);
    EXPECT_LE(BuildEpoch(), QDateTime::currentSecsSinceEpoch());
}

TEST_F(AboutForm, Fonts)
{
    struct TFontCase {
        const char* Name;
        const char* Family;
        int PixelSize;
        bool Bold, Underline;
    };
    const TFontCase cases[] = {
        {"AboutForm", ProgramSansFace, 11, false, false},
        {"Title", ProgramSansFace, 32, true, false},
        {"Description", ProgramSansFace, 11, false, false},
        {"WebSiteLabel", ProgramSansFace, 11, false, false},
        {"WebAddress", ProgramSansFace, 11, false, true},
        {"EmailAddress", ProgramSansFace, 11, false, true},
        {"BuildDateLabel", ProgramSansFace, 11, false, false},
        {"BitBtn1", ProgramSansFace, 11, false, false},
    };
    for (const TFontCase& c : cases) {
        SCOPED_TRACE(c.Name);
        QWidget& control = c.Name == std::string("AboutForm") ? static_cast<QWidget&>(Form) : Control(c.Name);
        control.ensurePolished();
        const QFont font = control.font();
        EXPECT_EQ(QFontInfo(font).family(), c.Family) << "the program's face, whatever the machine has";
        EXPECT_EQ(font.pixelSize(), c.PixelSize);
        EXPECT_EQ(font.bold(), c.Bold);
        EXPECT_EQ(font.underline(), c.Underline);
    }
    for (const char* link : {"WebAddress", "EmailAddress"})
        EXPECT_EQ(Control(link).palette().color(QPalette::WindowText), QColor(Qt::darkBlue)) << link;
}

TEST_F(AboutForm, WhiteBehindEverything)
{
    const QImage shot = Form.grab().toImage();
    ASSERT_EQ(shot.size(), Form.size() * shot.devicePixelRatio());
    // Beside the texts, in the panel right of the banner, below the button.
    for (const QPoint empty : {QPoint(5, 5), QPoint(10, 250), QPoint(210, 300), QPoint(230, 350)})
        EXPECT_EQ(shot.pixel(empty) & 0xFFFFFF, 0xFFFFFFu) << empty.x() << "," << empty.y();
}

// Every text over the picture lets it show between its letters: with a
// mid-grey picture in place, most of each overlap stays grey.
TEST_F(AboutForm, TextsOverThePictureAreTransparent)
{
    constexpr QRgb Grey = 0x808080;
    QPixmap grey(335, 279);
    grey.fill(QColor(Grey));
    Control<QLabel>("Picture").setPixmap(grey);
    const QImage shot = Form.grab().toImage();
    const QRect picture = Control("Picture").geometry();
    for (const char* name : {"Title", "Description", "WebAddress", "EmailAddress", "BuildDateLabel"}) {
        SCOPED_TRACE(name);
        const QRect overlap = Control(name).geometry() & picture;
        ASSERT_FALSE(overlap.isEmpty());
        int greyPixels = 0;
        for (int y = overlap.top(); y <= overlap.bottom(); ++y)
            for (int x = overlap.left(); x <= overlap.right(); ++x)
                greyPixels += (shot.pixel(x, y) & 0xFFFFFF) == Grey;
        EXPECT_GT(greyPixels, overlap.width() * overlap.height() / 2);
    }
}

TEST_F(AboutForm, TitleHasALightGreyShadowDownAndRight)
{
    const QImage title = Control("Title").grab().toImage();
    QRect text, shadow;
    for (int y = 0; y < title.height(); ++y)
        for (int x = 0; x < title.width(); ++x) {
            const QRgb pixel = title.pixel(x, y) & 0xFFFFFF;
            if (qGray(pixel) < 64)
                text |= QRect(x, y, 1, 1);
            else if (pixel == ShadowGrey)
                shadow |= QRect(x, y, 1, 1);
        }
    // Edge pixels of the black text can blend to the same grey; the shadow is
    // told apart by lying beyond the text's right and lower edges.
    ASSERT_FALSE(text.isEmpty());
    ASSERT_FALSE(shadow.isEmpty());
    for (const int offset : {shadow.right() - text.right(), shadow.bottom() - text.bottom()}) {
        EXPECT_GE(offset, 2);
        EXPECT_LE(offset, 4);
    }
}

TEST_F(AboutForm, CloseHidesAndShowingAgainBringsTheSameContent)
{
    // Shown while open, it stays where it is, one window.
    const QPoint place = Form.pos();
    Form.ShowAbout();
    EXPECT_EQ(Form.pos(), place);
    EXPECT_EQ(QApplication::topLevelWidgets().count(&Form), 1);

    const QImage before = Form.grab().toImage();
    QTest::mouseClick(&Control("BitBtn1"), Qt::LeftButton);
    EXPECT_FALSE(Form.isVisible());
    Show(Form);
    EXPECT_TRUE(Form.isVisible());
    EXPECT_EQ(Form.grab().toImage(), before);

    // Alt+C is the button's key.
    QApplication::setActiveWindow(&Form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Form));
    QTest::keyClick(&Form, Qt::Key_C, Qt::AltModifier);
    // The key presses the button, which clicks once its press has been shown.
    EXPECT_TRUE(QTest::qWaitFor([this] { return !Form.isVisible(); }));

    // The window frame's close box hides it too, and it comes back.
    Show(Form);
    EXPECT_TRUE(Form.close());
    EXPECT_FALSE(Form.isVisible());
    Show(Form);
    EXPECT_EQ(Form.grab().toImage(), before);
}

TEST(AboutFormStart, CreatedHiddenAndCentredOnTheScreen)
{
    TAboutForm form;
    EXPECT_FALSE(form.isVisible());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((form.geometry().center() - screen.center()).manhattanLength(), 1);
}

TEST_F(AboutForm, LinksOpenWithTheDesktop)
{
    TUrlCatcher catcher({"https", "mailto"});
    const struct {
        const char* Name;
        const char* Url;
    } links[] = {
        {"WebAddress", "https://orvalis.example.org/"},
        {"EmailAddress", "mailto:support@orvalis.example.org"},
    };
    for (const auto& link : links) {
        SCOPED_TRACE(link.Name);
        catcher.Opened.clear();
        QTest::mouseClick(&Control(link.Name), Qt::LeftButton);
        ASSERT_EQ(catcher.Opened.size(), 1);
        EXPECT_EQ(catcher.Opened.front(), QUrl(link.Url));

        // Pressed, then released off the link: no click.
        catcher.Opened.clear();
        QWidget& label = Control(link.Name);
        QTest::mousePress(&label, Qt::LeftButton);
        QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(label.width() + 20, label.height() + 20));
        EXPECT_TRUE(catcher.Opened.isEmpty());

        // From the keyboard: Tab reaches it, Enter opens it.
        EXPECT_EQ(label.focusPolicy(), Qt::TabFocus);
        QTest::keyClick(&label, Qt::Key_Return);
        ASSERT_EQ(catcher.Opened.size(), 1);
        EXPECT_EQ(catcher.Opened.front(), QUrl(link.Url));
    }
    // The other texts are no links.
    catcher.Opened.clear();
    for (const char* plain : {"WebSiteLabel", "EmailLabel", "Title", "BuildDateLabel"})
        QTest::mouseClick(&Control(plain), Qt::LeftButton);
    EXPECT_TRUE(catcher.Opened.isEmpty());
}

TEST_F(AboutForm, PicturesFillTheirPlacesOrLeaveThemEmpty)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QFile rose(":/about/Rose.jpg");
    ASSERT_TRUE(rose.open(QIODevice::ReadOnly));
    const QString cut = folder.filePath("cut.jpg");
    QFile file(cut);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(rose.readAll().left(3000));
    file.close();

    const struct {
        const char* What;
        TAboutPictureFiles Files;
        bool Picture, Banner;
    } cases[] = {
        {"the pictures built in", {}, true, true},
        {"truncated picture", {cut, ":/about/Banner.jpg"}, false, true},
        {"missing banner", {":/about/Rose.jpg", folder.filePath("absent.jpg")}, true, false},
        {"both damaged", {cut, cut}, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        TAboutForm form(nullptr, c.Files);
        Show(form);
        EXPECT_EQ(Control<QLabel>("Picture", form).pixmap().size(), c.Picture ? QSize(335, 279) : QSize(0, 0));
        EXPECT_EQ(Control<QLabel>("Banner", form).pixmap().size(), c.Banner ? QSize(200, 48) : QSize(0, 0));
        EXPECT_EQ(Control<QLabel>("Title", form).text(), "Orvalis " ORVALIS_SHORT_VERSION);
        EXPECT_EQ(Control<QLabel>("Picture", form).geometry(), QRect(174, 8, 335, 279));
        QTest::mouseClick(&Control("BitBtn1", form), Qt::LeftButton);
        EXPECT_FALSE(form.isVisible());
    }
}
