// The Curve menu's reading windows through the real menu and controls: the
// points list following z, the table's rows, its refusals, its copy and its
// CSV file.
#include "WindowFixture.h"

#include "numeric/NumberText.h"
#include "plot/core/FormulaCompile.h"
#include "plot/core/ValueTable.h"
#include "window/PointsDialog.h"
#include "window/TableDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include <cmath>
#include <map>
#include <numbers>

namespace {

class CurveDialogs : public WindowFixture {
protected:
    void OpenWith(const std::string& formula)
    {
        WriteSettingsFile("[Main]\nYFormula=" + formula + "\n");
        Open();
    }
    template <class T>
    T* InDialog(QWidget* dialog, const char* name) const
    {
        T* widget = dialog->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    // The list's rows as (kind, x, y) texts.
    static std::vector<QStringList> Rows(const QTableWidget* list)
    {
        std::vector<QStringList> rows;
        for (int row = 0; row < list->rowCount(); ++row)
            rows.push_back({list->item(row, 0)->text(), list->item(row, 1)->text(), list->item(row, 2)->text()});
        return rows;
    }
    static double Number(const QString& text) { return static_cast<double>(TextToNumber(text.toStdString())); }
    void MoveZ(int position) const
    {
        Control<QSlider>("TrackBar1")->setValue(position);
        Settle();
    }
    TTableDialog* OpenTable(const char* from, const char* to, const char* step)
    {
        Choose("TableOfValues1");
        auto* dialog = Window->findChild<TTableDialog*>();
        if (!dialog)
            return nullptr;
        InDialog<QLineEdit>(dialog, "FromEdit")->setText(QString::fromLatin1(from));
        InDialog<QLineEdit>(dialog, "ToEdit")->setText(QString::fromLatin1(to));
        InDialog<QLineEdit>(dialog, "StepEdit")->setText(QString::fromLatin1(step));
        QTest::mouseClick(InDialog<QPushButton>(dialog, "ShowButton"), Qt::LeftButton);
        Settle();
        return dialog;
    }
};

TEST_F(CurveDialogs, ThePointsListShowsEveryKindAndFollowsZ)
{
    OpenWith("sin(x)+z");
    MoveZ(0);
    Choose("PointsOfInterest1");
    auto* dialog = Window->findChild<TPointsDialog*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isModal()) << "the list stays open beside the window";
    const QTableWidget* list = InDialog<QTableWidget>(dialog, "PointsList");
    ASSERT_NE(list, nullptr);

    std::map<QString, int> kinds;
    for (const QStringList& row : Rows(list)) {
        ++kinds[row[0]];
        if (row[0] == "root") {
            const double x = Number(row[1]);
            EXPECT_NEAR(x, std::round(x / std::numbers::pi) * std::numbers::pi, 4e-15) << row[1].toStdString();
        }
        if (row[0] == "maximum") {
            EXPECT_EQ(Number(row[2]), 1.0);
        }
    }
    EXPECT_EQ(kinds, (std::map<QString, int>{{"root", 7}, {"maximum", 3}, {"minimum", 3}, {"y-intercept", 1}}));

    // z moved: the list is found again without being asked.
    MoveZ(500);
    kinds.clear();
    for (const QStringList& row : Rows(list)) {
        ++kinds[row[0]];
        if (row[0] == "y-intercept") {
            EXPECT_EQ(row[1] + " " + row[2], "0 0.5");
        }
        if (row[0] == "maximum") {
            EXPECT_EQ(Number(row[2]), 1.5);
        }
        if (row[0] == "root") {
            EXPECT_NEAR(std::sin(Number(row[1])), -0.5, 1e-15);
        }
    }
    EXPECT_EQ(kinds["root"], 7);
    EXPECT_EQ(kinds["y-intercept"], 1);

    // The copy is the list as tab-separated text under its header.
    QTest::mouseClick(InDialog<QPushButton>(dialog, "CopyButton"), Qt::LeftButton);
    const QStringList lines = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), list->rowCount() + 1);
    EXPECT_EQ(lines[0], "kind\tx\ty");
    EXPECT_EQ(lines[1].split('\t'), Rows(list)[0]);

    // Chosen again, the same window comes forward.
    dialog->close();
    Choose("PointsOfInterest1");
    EXPECT_EQ(Window->findChildren<TPointsDialog*>().size(), 1);
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(CurveDialogs, TheTableHasItsRowsRefusesABadStepAndCopiesTheSelection)
{
    OpenWith("x^2");
    TTableDialog* dialog = OpenTable("-1", "1", "0.5");
    ASSERT_NE(dialog, nullptr);
    const TValueTableModel& model = dialog->Model();
    const auto rows = [&] {
        std::vector<QStringList> cells;
        for (int row = 0; row < model.rowCount(); ++row)
            cells.push_back({model.index(row, 0).data().toString(), model.index(row, 1).data().toString()});
        return cells;
    };
    const std::vector<QStringList> expected{{"-1", "1"}, {"-0.5", "0.25"}, {"0", "0"}, {"0.5", "0.25"}, {"1", "1"}};
    EXPECT_EQ(rows(), expected);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "y");

    // A step of 0 is named and changes nothing.
    InDialog<QLineEdit>(dialog, "StepEdit")->setText("0");
    QTest::mouseClick(InDialog<QPushButton>(dialog, "ShowButton"), Qt::LeftButton);
    ASSERT_EQ(Dialogs.Messages.size(), 1u);
    EXPECT_TRUE(Dialogs.Messages[0].Text.contains("step")) << Dialogs.Messages[0].Text.toStdString();
    EXPECT_EQ(rows(), expected);
    EXPECT_EQ(InDialog<QLineEdit>(dialog, "FromEdit")->text(), "-1");

    // Ctrl+C copies the selected block as tab-separated lines.
    auto* table = InDialog<QTableView>(dialog, "ValuesTable");
    table->selectionModel()->select(QItemSelection(model.index(1, 0), model.index(2, 1)),
                                    QItemSelectionModel::ClearAndSelect);
    table->setFocus();
    QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "-0.5\t0.25\n0\t0\n");

    // A new formula, plotted, reaches the open table; undefined says so.
    SetText("YFormula", "sqrt(x)");
    Click("PlotBtn");
    EXPECT_EQ(model.index(0, 1).data().toString(), "undefined");
    EXPECT_EQ(model.index(4, 1).data().toString(), "1");

    // In polar mode the rows read angle, r and the point in the plane.
    SetText("YFormula", "2");
    Choose("Polar1");
    ASSERT_EQ(model.columnCount(), 4);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "angle");
    EXPECT_EQ(model.index(2, 2).data().toString(), "2") << "r = 2 at angle 0 lies at x = 2";
    EXPECT_EQ(model.index(2, 3).data().toString(), "0");
}

TEST_F(CurveDialogs, TheDefaultsAreTheShownRangeAndAMillionRowsScrollAtOnce)
{
    OpenWith("1/x");
    Choose("TableOfValues1");
    auto* dialog = Window->findChild<TTableDialog*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(InDialog<QLineEdit>(dialog, "FromEdit")->text(), "-10");
    EXPECT_EQ(InDialog<QLineEdit>(dialog, "StepEdit")->text(), "1");
    EXPECT_EQ(dialog->Model().rowCount(), 21);

    dialog = OpenTable("0", "1", "1e-6");
    ASSERT_EQ(dialog->Model().rowCount(), 1'000'001);
    auto* table = InDialog<QTableView>(dialog, "ValuesTable");
    table->scrollToBottom();
    Settle();
    const TValueTableModel& model = dialog->Model();
    EXPECT_EQ(model.index(0, 1).data().toString(), "undefined");
    EXPECT_EQ(model.index(1'000'000, 0).data().toString(), "1");
    EXPECT_EQ(model.index(500'000, 1).data().toString(), "2");
}

TEST_F(CurveDialogs, SaveAsCsvWritesWhatTheCoreWrites)
{
    OpenWith("x^2");
    TTableDialog* dialog = OpenTable("-1", "1", "0.5");
    ASSERT_NE(dialog, nullptr);
    const QString path = Folder.filePath("values.csv");
    Dialogs.SaveAnswer = path;
    QTest::mouseClick(InDialog<QPushButton>(dialog, "SaveCsvButton"), Qt::LeftButton);
    Settle();
    EXPECT_TRUE(Dialogs.Messages.empty());
    EXPECT_EQ(Dialogs.SuggestedNames.value(0), "table.csv");

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::string written = file.readAll().toStdString();
    TRapidEvaluator evaluator;
    ASSERT_FALSE(CompileForPlot(evaluator, "x^2", " "));
    std::string expected;
    WriteTableCsv(evaluator, MakeTableRange(-1, 1, 0.5), 0, false, [&](std::string_view text) { expected += text; });
    EXPECT_EQ(written, expected);
    EXPECT_EQ(written.substr(0, 24), "x,y\r\n-1,1\r\n-0.5,0.25\r\n0,");

    // A file that cannot be written is said in the error box, as the export's.
    Dialogs.SaveAnswer = Folder.filePath("no such folder/values.csv");
    QTest::mouseClick(InDialog<QPushButton>(dialog, "SaveCsvButton"), Qt::LeftButton);
    ASSERT_EQ(Dialogs.Messages.size(), 1u);
    EXPECT_TRUE(Dialogs.Messages[0].Text.startsWith("Cannot write")) << Dialogs.Messages[0].Text.toStdString();
}

}  // namespace
