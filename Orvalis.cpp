// Orvalis: the program's main routine.
#include "RapidEvaluator/RapidEvaluator.h"
#include "numeric/FloatingPoint.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[])
{
    ResetFpu();
    QApplication application(argc, argv);
    QApplication::setApplicationName("Orvalis");

    // Until the plotting window exists, say what is built so far.
    TRapidEvaluator evaluator;
    evaluator.SetFormula("sin(x)*cos(x)+x^2");
    evaluator.Compile();
    FormulaX = 1.0;
    QLabel placeholder(QString("Orvalis\n\nThe formula compiler is built: sin(x)*cos(x)+x^2 at x = 1 "
                               "compiles to %1 bytes of x87 code and gives %2.\n"
                               "The plotting window comes next.")
                           .arg(evaluator.CodeBuffer().Size())
                           .arg(evaluator.Evaluate(), 0, 'g', 15));
    placeholder.setWindowTitle("Orvalis");
    placeholder.setMargin(24);
    placeholder.show();
    return application.exec();
}
