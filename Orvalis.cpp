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
    int status = 0;
    int endedBy = 0;
    {
        TOrvalisApplication application(argc, argv);
        ResetFpu();
        // A signal that asks the program to end closes it as the user would,
        // whatever loop runs: the main one or a message box's.
        TTerminationSignals endingSignals([] {
            QApplication::closeAllWindows();
            StopEventLoops();
        });
        {
            TGraphMainForm mainForm(ProgramSettingsFile(QCoreApplication::applicationFilePath().toStdString()));
            mainForm.CreateAboutForm();
            // A signal taken while the window was being made (a message box
            // of the first plot) ends the program before its main loop.
            if (endingSignals.Taken() == 0) {
                mainForm.show();
                status = application.exec();
            }
        }
        // The window's destruction has written the settings.
        endedBy = endingSignals.Taken();
    }
    if (endedBy != 0)
        EndBySignal(endedBy);
    return status;
}
