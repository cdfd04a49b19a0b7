// The parameter z from the track bar, and the Examples menu, whose captions
// describe each example entirely.
#include "window/core/ExampleCaption.h"
#include "window/GraphMainForm.h"
#include "numeric/CheckedArithmetic.h"
#include "numeric/FloatingPoint.h"
#include "numeric/NumberText.h"
#include "ui_GraphMainForm.h"

#include <QAction>

namespace {

constexpr long double PositionsPerUnit = 1000;
const char ZFormat[] = "%8.4g";
const double CartesianExampleLow = -10, CartesianExampleHigh = 10;
const QString PolarExampleLow = QStringLiteral("0");
const QString PolarExampleHigh = QStringLiteral("60");

}  // namespace

void TGraphMainForm::TrackBar1Change()
{
    FormulaZ = StoreDouble(Ui_->TrackBar1->value() / PositionsPerUnit);
    Ui_->Zedit->setText(QString::fromStdString(Format(ZFormat, {FormulaZ})).trimmed());
    PlotBtnClick();
}

void TGraphMainForm::ShowExample(const QString& formula, double low, double high)
{
    Ui_->YFormula->setText(formula);
    Engine_.WriteXRange(low, high);
    Engine_.View().ResetView = true;
    PlotRequest();
}

void TGraphMainForm::ExampleClick(QAction* item)
{
    const std::vector<std::string> items = ExampleItems(item->text().toStdString());
    const std::string y = ExampleValue(items, "y");
    if (!y.empty()) {
        SetMode(true);
        SetTitleCaption();
        ShowExample(QString::fromStdString(y), CartesianExampleLow, CartesianExampleHigh);
        return;
    }
    SetMode(false);
    Ui_->YFormula->setText(QString::fromStdString(ExampleValue(items, "R")));
    Ui_->XlowEdit->setText(PolarExampleLow);
    Ui_->XhighEdit->setText(PolarExampleHigh);
    const std::string z = ExampleValue(items, "z");
    if (!z.empty()) {
        // A changed position plots at once, through the track bar's handler.
        Ui_->TrackBar1->setValue(TruncToLow32(TextToNumber(z) * PositionsPerUnit));
    }
    Engine_.View().ResetView = true;
    SetTitleCaption();
    PlotRequest();
}
