// Orvalis: the program's main routine.
#include "window/GraphMainForm.h"
#include "window/ProgramSettingsFile.h"
#include "numeric/FloatingPoint.h"
#include "numeric/NumberText.h"
#include "plot/ProgramFaces.h"
#include "shell/ErrorBox.h"
#include "shell/TerminationSignals.h"

int main(int argc, char* argv[])
{
    // The floating-point unit and the decimal separator come first: the
    // window's creation already plots.
    ResetFpu();
    ReadDecimalSeparator();
    UseProgramFaces();
    TOrvalisApplication application(argc, argv);
    ResetFpu();
    // A signal that asks the program to end closes it as the user would.
    const TTerminationSignals endingSignals([] {
        QApplication::closeAllWindows();
        QCoreApplication::quit();
    });

    TGraphMainForm mainForm(ProgramSettingsFile(QCoreApplication::applicationFilePath().toStdString()));
    mainForm.CreateAboutForm();
    mainForm.show();
    return application.exec();
}
