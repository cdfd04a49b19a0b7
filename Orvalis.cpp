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
    QLabel placeholder(QString("Orvalis\n\n"
                               "The formula compiler is built.\n"
                               "sin(x)*cos(x)+x^2 compiles to %1 bytes of x87 code;\n"
                               "at x = 1 it gives %2.\n\n"
                               "The plotting window comes next.")
                           .arg(evaluator.CodeBuffer().Size())
                           .arg(evaluator.Evaluate(), 0, 'g', 15));
    placeholder.setWindowTitle("Orvalis");
    placeholder.setMargin(24);
    placeholder.show();
    return application.exec();
}
