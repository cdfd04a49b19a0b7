// Preferences through the File menu, and the picture on the clipboard and in
// bitmap files, as the user chooses them.
#include "WindowFixture.h"

#include "plot/output/OutputFormat.h"
#include "window/PictureExport.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTest>
#include <QTimer>
#include <QElapsedTimer>

#include <sys/stat.h>

#include <functional>

namespace {

class Export : public WindowFixture {
protected:
    QString Path(const QString& name) const { return Folder.filePath(name); }

    static QByteArray Bytes(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Runs `answer` on the modal dialog that the menu item opens.
    void ChooseAndAnswer(const char* action, std::function<void(QDialog&)> answer)
    {
        bool answered = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            answer(*dialog);
            answered = true;
        });
        Choose(action);
        EXPECT_TRUE(answered);
    }
};

TEST_F(Export, BitmapFileHoldsThePictureShownWhateverItsName)
{
    Open();
    ResizeGraph(300, 200);
    for (const char* name : {"plot.bmp", "plot"}) {
        Dialogs.SaveAnswer = Path(name);
        Choose("Savetobitmapfile1");
        const QByteArray bytes = Bytes(Path(name));
        ASSERT_TRUE(bytes.startsWith("BM")) << name;
        const QImage saved = QImage::fromData(bytes, "BMP");
        EXPECT_EQ(saved.size(), QSize(300, 200)) << name;
        EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), Graph().Picture()) << name;
    }
    EXPECT_FALSE(QFile::exists(Path("plot.bmp.bmp")));
    // The second time the dialog offers the first name.
    EXPECT_EQ(Dialogs.SuggestedNames, QStringList({"", Path("plot.bmp")}));
    EXPECT_TRUE(Dialogs.Messages.empty());
}

// A typed ending wins over the filter; any other name takes the filter's
// format. Each file is read back by a decoder of its format, and the pages
// show the plot shown, not the formula typed since.
TEST_F(Export, EachFormatAsTheNameOrElseTheFilterSays)
{
    Open();
    ResizeGraph(300, 200);
    SetText("YFormula", "cos(x)");
    const struct {
        const char* Name;
        qsizetype Filter;
        const char* Format;
    } cases[] = {{"a.PNG", 0, "png"}, {"b", 1, "png"},   {"c.svg", 3, "svg"}, {"d", 2, "svg"},
                 {"e.Pdf", 1, "pdf"}, {"f", 3, "pdf"},   {"g.bmp", 2, "bmp"}, {"h.txt", 0, "bmp"}};
    for (const auto& c : cases) {
        const QString file = Path(c.Name);
        Dialogs.SaveAnswer = file;
        Dialogs.FilterAnswer = c.Filter;
        Choose("Savetobitmapfile1");
        const std::string format = c.Format;
        if (format == "png" || format == "bmp") {
            QImageReader reader(file);
            EXPECT_EQ(reader.format().toStdString(), format) << c.Name;
            EXPECT_EQ(reader.read().convertToFormat(QImage::Format_RGB32), Graph().Picture()) << c.Name;
        } else if (format == "svg") {
            QSvgRenderer svg(file);
            ASSERT_TRUE(svg.isValid()) << c.Name;
            EXPECT_EQ(svg.viewBox(), QRect(0, 0, 300, 200)) << c.Name;
            EXPECT_TRUE(Bytes(file).contains("sin(x)")) << c.Name;
        } else {
            QProcess info;
            info.start(QStringLiteral("pdfinfo"), {file});
            ASSERT_TRUE(info.waitForFinished()) << c.Name;
            const QString pages = QString::fromUtf8(info.readAllStandardOutput()).simplified();
            EXPECT_TRUE(pages.contains("Pages: 1 ") && pages.contains("Page size: 225 x 150 pts")) << c.Name;
            QProcess text;
            text.start(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
            ASSERT_TRUE(text.waitForFinished()) << c.Name;
            EXPECT_TRUE(text.readAllStandardOutput().contains("Y = sin(x)")) << c.Name;
        }
    }
    EXPECT_EQ(Dialogs.OfferedFilters,
              QStringList({"Bitmaps (*.bmp)", "PNG pictures (*.png)", "SVG drawings (*.svg)", "PDF documents (*.pdf)"}));
    EXPECT_TRUE(Dialogs.Messages.empty());
}

// A page is drawn again from the plot shown: at the z shown, whatever z the
// formula code last ran at.
TEST_F(Export, APageDrawsTheZThatWasShown)
{
    Open();
    SetText("YFormula", "x*z");
    Click("PlotBtn");
    Control<QSlider>("TrackBar1")->setValue(700);
    Dialogs.SaveAnswer = Path("z.svg");
    Choose("Savetobitmapfile1");
    TPlotView::TShownPlot at = Graph().Shown();
    at.Request.Z = 0.7;
    EXPECT_EQ(Bytes(Path("z.svg")), PlotShownPage(at, TOutputFormat::Svg));
    at.Request.Z = 0.3;
    EXPECT_NE(Bytes(Path("z.svg")), PlotShownPage(at, TOutputFormat::Svg));
}

TEST_F(Export, OverwritesWithoutAQuestionAndCancelWritesNothing)
{
    Open();
    const QString file = Path("old.bmp");
    {
        QFile old(file);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old contents");
    }
    Dialogs.SaveAnswer = file;
    Choose("Savetobitmapfile1");
    EXPECT_TRUE(Bytes(file).startsWith("BM"));
    Dialogs.SaveAnswer.reset();
    QFile::remove(file);
    Choose("Savetobitmapfile1");
    EXPECT_FALSE(QFile::exists(file));
}

TEST_F(Export, FileThatCannotBeCreatedIsReportedAndLeavesNothing)
{
    Open();
    const QString missing = Path("no/folder/plot.bmp");
    Dialogs.SaveAnswer = missing;
    Choose("Savetobitmapfile1");
    ASSERT_EQ(Dialogs.Messages.size(), 1u);
    EXPECT_EQ(Dialogs.Messages[0].Text, "Cannot write " + missing + ": No such file or directory.");
    EXPECT_EQ(Dialogs.Messages[0].Icon, QMessageBox::Critical);
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_FALSE(QFileInfo::exists(Path("no")));
}

// A pipe nothing reads is waited for a few seconds while the window goes on
// answering, then refused; nothing of the window is lost.
TEST_F(Export, APipeWithNoReaderLeavesTheWindowAnswering)
{
    Open();
    const QString fifo = Path("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    Dialogs.SaveAnswer = fifo;
    const int plots = Window->PlotCount();
    QElapsedTimer clock;
    qint64 plottedAfterMs = -1;
    QTimer::singleShot(200, [&] {
        clock.start();
        Click("PlotBtn");
        plottedAfterMs = Window->PlotCount() > plots ? clock.elapsed() : -1;
    });
    Choose("Savetobitmapfile1");
    EXPECT_GE(plottedAfterMs, 0) << "the plot went through while the save waited";
    EXPECT_LT(plottedAfterMs, 1000);
    ASSERT_EQ(Dialogs.Messages.size(), 1u);
    EXPECT_EQ(Dialogs.Messages[0].Text, "Nothing is reading " + fifo + ".");
    EXPECT_EQ(Text("YFormula"), "sin(x)");
    EXPECT_TRUE(Graph().HasPicture());
}

TEST_F(Export, NothingToExportBeforeTheFirstPlot)
{
    WriteSettingsFile("[Main]\nYFormula=x+\n");
    Open();
    Dialogs.Messages.clear();
    QGuiApplication::clipboard()->setText("kept");
    Dialogs.SaveAnswer = Path("none.bmp");
    Choose("SavetoClipboard1");
    Choose("Savetobitmapfile1");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "kept");
    EXPECT_FALSE(QFile::exists(Path("none.bmp")));
    EXPECT_TRUE(Dialogs.SuggestedNames.isEmpty());
    EXPECT_TRUE(Dialogs.Messages.empty());
}

TEST_F(Export, ClipboardGetsThePicture)
{
    Open();
    Choose("SavetoClipboard1");
    const QImage copied = QGuiApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), QSize(507, 266));
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32), Graph().Picture());
}

TEST_F(Export, PreferencesReplotInTheSameViewWhateverTheAnswer)
{
    Open();
    SetYRange(0.5, 2.5);
    int plots = Window->PlotCount();
    ChooseAndAnswer("Preferences1", [](QDialog& dialog) {
        dialog.findChild<QCheckBox*>("BoundaryItem")->setChecked(false);
        QTest::mouseClick(dialog.findChild<QPushButton*>("CancelBtn"), Qt::LeftButton);
    });
    EXPECT_EQ(Window->PlotCount(), plots + 1);
    EXPECT_TRUE(Window->Drawing().Boundary);
    EXPECT_EQ(View().YMin, 0.5);

    plots = Window->PlotCount();
    ChooseAndAnswer("Preferences1", [](QDialog& dialog) {
        dialog.findChild<QCheckBox*>("BoundaryItem")->setChecked(false);
        QTest::mouseClick(dialog.findChild<QPushButton*>("OKBtn"), Qt::LeftButton);
    });
    EXPECT_EQ(Window->PlotCount(), plots + 1);
    EXPECT_FALSE(Window->Drawing().Boundary);
    EXPECT_EQ(View().YMin, 0.5) << "the view stays";
    const QImage picture = Graph().Picture();
    EXPECT_EQ(picture.pixel(100, 35), picture.pixel(100, 34)) << "no boundary drawn";
}

}  // namespace
