// The points-of-interest window: the points of the plot shown, listed with
// the program's number text and copied as tab-separated text.
#include "window/PointsDialog.h"

#include "numeric/FloatingPoint.h"
#include "numeric/NumberText.h"
#include "plot/core/CurvePoints.h"
#include "window/CurveDialogs.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

namespace {

// Enough digits for a copied point to read back as the double it is.
constexpr int PointDigits = 17;
constexpr int StartWidth = 560;
constexpr int StartHeight = 340;
const QStringList CartesianColumns{QStringLiteral("kind"), QStringLiteral("x"), QStringLiteral("y")};
const QStringList PolarColumns{QStringLiteral("kind"), QStringLiteral("angle"), QStringLiteral("r"),
                               QStringLiteral("x"), QStringLiteral("y")};

QString NumberText(double value)
{
    return QString::fromStdString(FormatGeneral(value, PointDigits));
}

}  // namespace

TPointsDialog::TPointsDialog(TPlotView& view, QWidget* parent)
    : QDialog(parent), View(view), Caption(new QLabel(this)), List(new QTableWidget(this))
{
    setObjectName(QStringLiteral("PointsDialog"));
    setWindowTitle(QStringLiteral("Points of interest"));
    List->setObjectName(QStringLiteral("PointsList"));
    List->setAccessibleName(QStringLiteral("Points of interest"));
    List->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List->setSelectionBehavior(QAbstractItemView::SelectRows);
    List->verticalHeader()->hide();
    List->horizontalHeader()->setStretchLastSection(true);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* copy = buttons->addButton(QStringLiteral("Copy"), QDialogButtonBox::ActionRole);
    copy->setObjectName(QStringLiteral("CopyButton"));
    copy->setAccessibleName(QStringLiteral("Copy the points"));
    copy->setAutoDefault(false);
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setAccessibleName(QStringLiteral("Close"));
    connect(copy, &QPushButton::clicked, this, &TPointsDialog::CopyList);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Caption);
    layout->addWidget(List);
    layout->addWidget(buttons);
    resize(StartWidth, StartHeight);

    connect(&View, &TPlotView::Plotted, this, [this] { RunGuarded(this, [this] { Refresh(); }); });
}

void TPointsDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    RunGuarded(this, [this] { Refresh(); });
}

void TPointsDialog::Refresh()
{
    if (!isVisible())
        return;
    const TPlotView::TShownPlot& shown = View.Shown();
    const bool polar = !shown.Request.Cartesian;
    List->setColumnCount(static_cast<int>((polar ? PolarColumns : CartesianColumns).size()));
    List->setHorizontalHeaderLabels(polar ? PolarColumns : CartesianColumns);
    double low, high;
    if (!View.HasPicture() || !ShownXRange(View, low, high)) {
        List->setRowCount(0);
        Caption->clear();
        return;
    }
    Caption->setText(QStringLiteral("%1 = %2 from %3 to %4")
                         .arg(polar ? 'r' : 'y')
                         .arg(QString::fromStdString(shown.Request.Formula),
                              QString::fromStdString(shown.Request.XlowText),
                              QString::fromStdString(shown.Request.XhighText)));
    std::vector<TPointOfInterest> points;
    try {
        points = FindPointsOfInterest(View.Compiled(), low, high, shown.Request.Z, View.Engine().Samples());
    } catch (...) {
        ResetFpu();
        throw;
    }
    List->setRowCount(static_cast<int>(points.size()));
    for (int row = 0; row < List->rowCount(); ++row) {
        const TPointOfInterest& point = points[static_cast<std::size_t>(row)];
        QStringList cells{QString::fromUtf8(PointKindWord(point.Kind)), NumberText(point.X), NumberText(point.Y)};
        if (polar)
            cells << NumberText(point.Y * std::cos(point.X)) << NumberText(point.Y * std::sin(point.X));
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (column > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            List->setItem(row, column, item);
        }
    }
    List->resizeColumnsToContents();
}

QString TPointsDialog::ListText() const
{
    QStringList header;
    for (int column = 0; column < List->columnCount(); ++column)
        header << List->horizontalHeaderItem(column)->text();
    QString text = header.join(QLatin1Char('\t')) + QLatin1Char('\n');
    for (int row = 0; row < List->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < List->columnCount(); ++column)
            cells << List->item(row, column)->text();
        text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return text;
}

void TPointsDialog::CopyList() const
{
    QGuiApplication::clipboard()->setText(ListText());
}
