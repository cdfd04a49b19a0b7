// Finds the faces' files where the distributions put them.
#include "plot/drawing/FaceFiles.h"

#include <QFile>

namespace {

// Debian 12 and Ubuntu keep version 2 of the faces apart from the old
// version 1 package; later releases put version 2 in the old folder.
const char* const FaceFolders[] = {
    "/usr/share/fonts/truetype/liberation2",
    "/usr/share/fonts/truetype/liberation",
};

QString FilePath(const QString& folder, const char* file)
{
    return folder + QLatin1Char('/') + QLatin1String(file);
}

}  // namespace

const char ProgramMonoRegularFile[] = "LiberationMono-Regular.ttf";
const char* const ProgramFaceFiles[4] = {
    "LiberationSans-Regular.ttf",
    "LiberationSans-Bold.ttf",
    ProgramMonoRegularFile,
    "LiberationMono-Bold.ttf",
};

QString ProgramFacesFolder()
{
    for (const char* candidate : FaceFolders) {
        const QString folder = QString::fromLatin1(candidate);
        bool whole = true;
        for (const char* file : ProgramFaceFiles)
            whole = whole && QFile::exists(FilePath(folder, file));
        if (whole)
            return folder;
    }
    return {};
}

QString ProgramFaceFile(const char* file)
{
    const QString folder = ProgramFacesFolder();
    return FilePath(folder.isEmpty() ? QString::fromLatin1(FaceFolders[0]) : folder, file);
}
