// The help window and its document: it opens at its table of contents, every
// entry leads somewhere, the window is reused, and the document covers the
// whole formula language, the settings file and orvalis-plot.
#include "about/HelpWindow.h"

#include "RapidEvaluator/LookupTable.h"
#include "RapidEvaluator/Messages.h"

#include <QApplication>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

struct TLinks {
    QStringList Targets;  // the fragments of "#name" links, in document order
    QSet<QString> Anchors;
};

TLinks LinksOf(const QTextDocument& document)
{
    TLinks links;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextCharFormat format = fragment.fragment().charFormat();
            for (const QString& name : format.anchorNames())
                links.Anchors.insert(name);
            const QString href = format.anchorHref();
            if (href.startsWith('#') && (links.Targets.isEmpty() || links.Targets.back() != href.mid(1)))
                links.Targets.append(href.mid(1));
        }
    return links;
}

class HelpWindow : public testing::Test {
protected:
    void SetUp() override
    {
        Window = &ShowHelpContents(&Owner);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Window));
    }

    QTextBrowser& Browser() { return Window->Browser(); }
    QString Text() { return Browser().document()->toPlainText(); }

    QWidget Owner;
    THelpWindow* Window = nullptr;
};

} // namespace

TEST_F(HelpWindow, OpensTheBuiltInDocumentAtItsContents)
{
    EXPECT_TRUE(Window->isVisible());
    EXPECT_TRUE(Window->isWindow());
    EXPECT_EQ(Window->parent(), &Owner);
    EXPECT_EQ(Browser().source(), THelpWindow::DocumentUrl);
    EXPECT_EQ(Browser().documentTitle(), "Orvalis Help");
    EXPECT_TRUE(Text().startsWith("Orvalis Help: Contents"));
    EXPECT_EQ(Browser().verticalScrollBar()->value(), 0);
    EXPECT_GT(Browser().verticalScrollBar()->maximum(), 0) << "the document is longer than the window";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(HelpWindow, EveryContentsEntryLeadsToASection)
{
    const TLinks links = LinksOf(*Browser().document());
    ASSERT_GE(links.Targets.size(), 13);
    EXPECT_TRUE(links.Anchors.contains("contents"));
    for (const QString& target : links.Targets)
        EXPECT_TRUE(links.Anchors.contains(target)) << target.toStdString();
    // The contents name every numbered section: 1 to 13.
    for (int section = 1; section <= 13; ++section)
        EXPECT_TRUE(Text().contains(QRegularExpression(QString("\\n%1\\. \\S").arg(section)))) << section;
}

TEST_F(HelpWindow, FollowingALinkAndComingBack)
{
    QPushButton& back = *Window->findChild<QPushButton*>("BackBtn");
    EXPECT_FALSE(back.isEnabled());
    Browser().setSource(QUrl(THelpWindow::DocumentUrl.toString() + "#settings"));
    EXPECT_GT(Browser().verticalScrollBar()->value(), 0);
    EXPECT_TRUE(back.isEnabled());
    QTest::mouseClick(&back, Qt::LeftButton);
    EXPECT_EQ(Browser().verticalScrollBar()->value(), 0);

    Browser().setSource(QUrl(THelpWindow::DocumentUrl.toString() + "#plottool"));
    QTest::mouseClick(Window->findChild<QPushButton*>("ContentsBtn"), Qt::LeftButton);
    EXPECT_EQ(Browser().verticalScrollBar()->value(), 0);
}

TEST_F(HelpWindow, ShownAgainItIsTheSameWindowBackAtTheContents)
{
    Browser().verticalScrollBar()->setValue(Browser().verticalScrollBar()->maximum());
    Window->hide();
    EXPECT_EQ(&ShowHelpContents(&Owner), Window);
    EXPECT_TRUE(Window->isVisible());
    EXPECT_EQ(Browser().verticalScrollBar()->value(), 0);
    EXPECT_EQ(Owner.findChildren<THelpWindow*>().size(), 1);

    QWidget otherOwner;
    THelpWindow& other = ShowHelpContents(&otherOwner);
    EXPECT_NE(&other, Window);
    EXPECT_EQ(&ShowHelpContents(nullptr), &ShowHelpContents(nullptr));
    ShowHelpContents(nullptr).hide();
}

TEST_F(HelpWindow, DocumentsEveryFunctionWithAnExample)
{
    TLookupTable<TIntFunction> functions;
    AddBuiltInFunctions(functions);
    const QString text = Text();
    for (int i = 0; i < functions.Count(); ++i) {
        const QString name = QString::fromStdString(functions[i].Name).toLower();
        // Its row: the call form, then an example using it.
        EXPECT_GE(text.count(QRegularExpression("\\b" + name + "\\(")), 2) << name.toStdString();
    }
}

TEST_F(HelpWindow, DocumentsEveryCompileErrorMessage)
{
    const std::string_view messages[] = {Messages::EmptyExpression, Messages::SyntaxError,
                                         Messages::InvalidExpression, Messages::InvalidNumber,
                                         Messages::UnknownName, Messages::Expected,
                                         Messages::NestedTooDeeply};
    const QString text = Text();
    EXPECT_TRUE(text.contains("The formula is not valid at character "));
    for (const std::string_view message : messages) {
        // The fixed parts around each %s.
        for (const QString& part : QString::fromUtf8(message.data(), message.size()).split("%s")) {
            const QString fixed = QString(part).remove('"').trimmed();
            if (!fixed.isEmpty()) {
                EXPECT_TRUE(text.contains(fixed)) << fixed.toStdString();
            }
        }
    }
}

TEST_F(HelpWindow, DocumentsTheLanguageAndThePlaces)
{
    const QString text = Text();
    const char* const mentions[] = {
        // operators and their rules
        "+", "-", "*", "/", "%", "^", "remainder", "2^3^2", "-x^2", "--x",
        // variables, numbers, blanks, case, nesting
        "x is the abscissa", "z is the parameter", "always 0", "0.5", "2.5e-3", "Blanks", "Letter case",
        "256", "undefined", "sqrt(x)", "1/x", "ln(exp(1000))",
        // the window
        "Pan Up", "Pan Left", "Goto origin", "Ctrl", "right mouse button", "Mouse position", "Ready...",
        "track bar", "0.001", "Examples", "Preferences", "Narrow", "Wide", "Draw Boundary",
        "Draw tickmarks on axes", "Save to Clipboard", "Save to bitmap file", "BMP",
        // the settings file
        ".INI", "beside the program file", "[Main]",
    };
    for (const char* mention : mentions)
        EXPECT_TRUE(text.contains(mention)) << mention;
    for (const char* key : {"YFormula", "XLow", "Xhigh", "BackgroundColor", "AxisColor", "GoodPointColor",
                            "BadPointColor", "LineWidth", "Boundary", "Ticks", "Z", "Cartesian"})
        EXPECT_TRUE(text.contains(QRegularExpression(QString("\\n%1=").arg(key)))) << key;
}

// Every option that orvalis-plot's own usage text lists is explained.
TEST_F(HelpWindow, DocumentsEveryOptionOfOrvalisPlot)
{
    QProcess plot;
    plot.start(ORVALIS_PLOT_PATH, {"--help"});
    ASSERT_TRUE(plot.waitForFinished());
    const QString usage = QString::fromLocal8Bit(plot.readAllStandardOutput());
    QSet<QString> options;
    for (const auto& match : QRegularExpression("--[a-z][a-z-]*").globalMatch(usage))
        options.insert(match.captured());
    ASSERT_GE(options.size(), 10) << usage.toStdString();
    const QString text = Text();
    for (const QString& option : options)
        EXPECT_TRUE(text.contains(option)) << option.toStdString();
    EXPECT_TRUE(text.contains("orvalis-plot [options] FORMULA OUTPUT"));
}
