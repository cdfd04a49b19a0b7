// What the user is shown: the real message box's text, the error box for an
// error of no known kind, and numbers read with the separator of a locale
// changed while the program runs.
#include "WindowFixture.h"

#include "numeric/NumberText.h"
#include "shell/ErrorBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <cstdlib>

namespace {

// The text of the box the real dialogs show for `text`, the box then closed.
QString ShownText(const QString& text)
{
    QString shown;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        shown = box->text();
        box->accept();
    });
    UserDialogs().ShowMessage(nullptr, "Orvalis", text, QMessageBox::NoIcon);
    return shown;
}

TEST(MessageBox, ShowsLineBreaksAndLeavesOutTheMiddleOfALongText)
{
    const QString head(1500, 'h'), middle(1000, 'm'), tail(300, 't');
    const struct {
        QString Text;
        QString Shown;
    } cases[] = {
        {"The formula is not valid at character 3.\rSyntax error", "The formula is not valid at character 3.\nSyntax error"},
        {"one\r\ntwo\nthree", "one\ntwo\nthree"},
        {QString(2000, 'x'), QString(2000, 'x')},
        {head + middle + tail, head + " … " + tail},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShownText(c.Text), c.Shown) << c.Text.left(40).toStdString();
}

TEST(ErrorBox, AnErrorOfNoKnownKindIsAnUnknownError)
{
    TFakeDialogs dialogs;
    const TUserDialogsOverride inUse(dialogs);
    bool after = false;
    RunGuarded(nullptr, [&] {
        throw 42;
        after = true;
    });
    EXPECT_FALSE(after);
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0].Caption, "Orvalis");
    EXPECT_EQ(dialogs.Messages[0].Text, "Unknown error.");
    EXPECT_EQ(dialogs.Messages[0].Icon, QMessageBox::Critical);
}

class LocaleChange : public WindowFixture {
protected:
    void TearDown() override
    {
        DecimalSeparator = Saved;
        if (SavedLcAll)
            ::setenv("LC_ALL", SavedLcAll->c_str(), 1);
        else
            ::unsetenv("LC_ALL");
    }

    char Saved = DecimalSeparator;
    std::optional<std::string> SavedLcAll =
        std::getenv("LC_ALL") ? std::optional<std::string>(std::getenv("LC_ALL")) : std::nullopt;
};

TEST_F(LocaleChange, TheWindowRereadsTheDecimalSeparator)
{
    ::setenv("LC_ALL", "C", 1);
    DecimalSeparator = ',';
    Open();
    SetXRange("-2.5", "2.5");
    Dialogs.Messages.clear();
    Click("PlotBtn");
    ASSERT_EQ(Dialogs.Messages.size(), 1u) << "a point is no separator while the separator read is a comma";

    QEvent change(QEvent::LocaleChange);
    QApplication::sendEvent(Window.get(), &change);
    EXPECT_EQ(DecimalSeparator, '.');
    const int plots = Window->PlotCount();
    Click("PlotBtn");
    EXPECT_EQ(Window->PlotCount(), plots + 1);
    EXPECT_EQ(View().XMin, -2.5);
    EXPECT_EQ(Dialogs.Messages.size(), 1u);
}

}  // namespace
