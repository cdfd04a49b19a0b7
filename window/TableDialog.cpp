// The table-of-values window: its fields, its virtual table, the copy of a
// selection and the CSV saved through the one file writer.
#include "window/TableDialog.h"

#include "files/SafeFile.h"
#include "numeric/Exceptions.h"
#include "numeric/NumberText.h"
#include "shell/UserDialogs.h"
#include "window/CurveDialogs.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString ApplicationTitle = QStringLiteral("Orvalis");
const QStringList CsvFilters{QStringLiteral("CSV files (*.csv)"), QStringLiteral("All files (*)")};
const QString SuggestedName = QStringLiteral("table.csv");
// The fields start with the shown range cut into this many steps.
constexpr int DefaultSteps = 20;
constexpr int FieldDigits = 15;
// A copy of more rows than this would hold the clipboard's owner for long;
// the CSV file is the way to take them all.
constexpr std::int64_t MaxCopyRows = 1'000'000;
constexpr int StartWidth = 520;
constexpr int StartHeight = 460;
// The longest the window's events are handled at a time while a save waits.
constexpr int WaitSliceMs = 10;

QLineEdit* AddField(QHBoxLayout* row, QWidget* parent, const char* objectName, const QString& label)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(objectName));
    edit->setAccessibleName(label);
    auto* caption = new QLabel(label, parent);
    caption->setBuddy(edit);
    row->addWidget(caption);
    row->addWidget(edit, 1);
    return edit;
}

}  // namespace

TTableDialog::TTableDialog(TPlotView& view, QWidget* parent) : QDialog(parent), View(view), Table(new QTableView(this))
{
    setObjectName(QStringLiteral("TableDialog"));
    setWindowTitle(QStringLiteral("Table of values"));
    auto* fields = new QHBoxLayout;
    FromEdit = AddField(fields, this, "FromEdit", QStringLiteral("From"));
    ToEdit = AddField(fields, this, "ToEdit", QStringLiteral("To"));
    StepEdit = AddField(fields, this, "StepEdit", QStringLiteral("Step"));
    auto* show = new QPushButton(QStringLiteral("Show"), this);
    show->setObjectName(QStringLiteral("ShowButton"));
    show->setAccessibleName(QStringLiteral("Show the table"));
    show->setDefault(true);
    fields->addWidget(show);

    Table->setObjectName(QStringLiteral("ValuesTable"));
    Table->setAccessibleName(QStringLiteral("Table of values"));
    Table->setModel(&Model_);
    // Sections of one fixed height let the view place a row by arithmetic,
    // never by asking every row its size.
    Table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    auto* copy = new QAction(QStringLiteral("Copy"), Table);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    Table->addAction(copy);
    connect(copy, &QAction::triggered, this, [this] { RunGuarded(this, [this] { CopySelection(); }); });

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* save = buttons->addButton(QStringLiteral("Save as CSV..."), QDialogButtonBox::ActionRole);
    save->setObjectName(QStringLiteral("SaveCsvButton"));
    save->setAccessibleName(QStringLiteral("Save as CSV"));
    save->setAutoDefault(false);
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setAccessibleName(QStringLiteral("Close"));
    close->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(Table);
    layout->addWidget(buttons);
    resize(StartWidth, StartHeight);

    connect(show, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { ShowTable(); }); });
    connect(save, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { SaveAsCsv(); }); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    connect(&View, &TPlotView::Plotted, this, [this] {
        if (isVisible())
            RunGuarded(this, [this] { FollowPlot(); });
    });

    FillDefaultFields();
    FollowPlot();
    ShowTable();
}

void TTableDialog::FillDefaultFields()
{
    double low, high;
    if (!ShownXRange(View, low, high))
        return;
    FromEdit->setText(QString::fromStdString(FormatGeneral(low, FieldDigits)));
    ToEdit->setText(QString::fromStdString(FormatGeneral(high, FieldDigits)));
    StepEdit->setText(QString::fromStdString(FormatGeneral((high - low) / DefaultSteps, FieldDigits)));
}

void TTableDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    RunGuarded(this, [this] { FollowPlot(); });
}

void TTableDialog::FollowPlot()
{
    if (!View.HasPicture()) {
        Model_.Clear();
        return;
    }
    const TPlotRequest& request = View.Shown().Request;
    Model_.SetCurve(request.Formula, request.Z, !request.Cartesian);
}

void TTableDialog::ShowTable()
{
    TTableRange range;
    try {
        range = ReadTableRange(FromEdit->text().toStdString(), ToEdit->text().toStdString(),
                               StepEdit->text().toStdString());
    } catch (const ETableInput& error) {
        QLineEdit* field = error.Field() == "from" ? FromEdit : error.Field() == "to" ? ToEdit : StepEdit;
        UserDialogs().ShowMessage(this, ApplicationTitle, QString::fromStdString(ErrorSentence(error.Message())),
                                  QMessageBox::Warning);
        field->setFocus();
        field->selectAll();
        return;
    }
    Model_.SetRange(range);
}

void TTableDialog::CopySelection() const
{
    const QItemSelection selection = Table->selectionModel()->selection();
    if (selection.isEmpty())
        return;
    int top = Model_.rowCount(), bottom = -1, left = Model_.columnCount(), right = -1;
    for (const QItemSelectionRange& range : selection) {
        top = std::min(top, range.top());
        bottom = std::max(bottom, range.bottom());
        left = std::min(left, range.left());
        right = std::max(right, range.right());
    }
    if (bottom - top + 1 > MaxCopyRows)
        throw Exception("At most " + std::to_string(MaxCopyRows) +
                        " rows are copied at a time; \"Save as CSV...\" writes the whole table");
    // The selection's bounding rows and columns; a cell inside them that is
    // not selected stays empty, so the columns keep their places.
    QString text;
    for (int row = top; row <= bottom; ++row) {
        for (int column = left; column <= right; ++column) {
            const QModelIndex cell = Model_.index(row, column);
            if (selection.contains(cell))
                text += Model_.data(cell, Qt::DisplayRole).toString();
            text += column < right ? QLatin1Char('\t') : QLatin1Char('\n');
        }
    }
    QGuiApplication::clipboard()->setText(text);
}

void TTableDialog::SaveAsCsv()
{
    if (!Model_.HasCurve() || Saving)
        return;
    const std::optional<TSaveChoice> choice =
        UserDialogs().ChooseSaveFileName(this, CsvFilters, LastName.isEmpty() ? SuggestedName : LastName, 0);
    if (!choice)
        return;
    LastName = choice->Name;
    // A pipe with no reader yet is waited for, the windows answering meanwhile.
    Saving = true;
    const auto keepAnswering = [] { QCoreApplication::processEvents(QEventLoop::AllEvents, WaitSliceMs); };
    try {
        TFileWriter writer(choice->Name.toStdString(), TStaging::Unnamed, keepAnswering);
        WriteTableCsv(Model_.Evaluator(), Model_.Range(), Model_.Z(), Model_.Polar(),
                      [&](std::string_view bytes) { writer.Write(bytes); });
        writer.Commit();
    } catch (...) {
        Saving = false;
        throw;
    }
    Saving = false;
}
