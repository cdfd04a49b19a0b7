// Orvalis: the program's main routine.
#include "window/GraphMainForm.h"
#include "window/ProgramSettingsFile.h"
#include "numeric/FloatingPoint.h"
#include "numeric/NumberText.h"
#include "plot/ProgramFaces.h"
#include "shell/ErrorBox.h"

int main(int argc, char* argv[])
{
    // The floating-point unit and the decimal separator come first: the
    // window's creation already plots.
    ResetFpu();
    ReadDecimalSeparator();
    UseProgramFaces();
    TOrvalisApplication application(argc, argv);
    ResetFpu();
    QApplication::setApplicationName(QStringLiteral("Orvalis"));

    TGraphMainForm mainForm(ProgramSettingsFile(QCoreApplication::applicationFilePath().toStdString()));
    mainForm.CreateAboutForm();
    mainForm.show();
    return application.exec();
}
