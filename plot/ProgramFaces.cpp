// Finds the faces' files where the distributions put them and hands them to
// Qt's font database, or to fontconfig alone for the renderer.
#include "plot/ProgramFaces.h"

#include <QFile>
#include <QFontDatabase>

#include <fontconfig/fontconfig.h>

namespace {

// Debian 12 and Ubuntu keep version 2 of the faces apart from the old
// version 1 package; later releases put version 2 in the old folder.
const char* const FaceFolders[] = {
    "/usr/share/fonts/truetype/liberation2",
    "/usr/share/fonts/truetype/liberation",
};
// Regular and bold of each face: the program draws no italic text.
const char* const FaceFiles[] = {
    "LiberationSans-Regular.ttf",
    "LiberationSans-Bold.ttf",
    "LiberationMono-Regular.ttf",
    "LiberationMono-Bold.ttf",
};

QString FilePath(const QString& folder, const char* file)
{
    return folder + QLatin1Char('/') + QLatin1String(file);
}

}  // namespace

QString ProgramFacesFolder()
{
    for (const char* candidate : FaceFolders) {
        const QString folder = QString::fromLatin1(candidate);
        bool whole = true;
        for (const char* file : FaceFiles)
            whole = whole && QFile::exists(FilePath(folder, file));
        if (whole)
            return folder;
    }
    return {};
}

bool LoadProgramFaces()
{
    const QString folder = ProgramFacesFolder();
    if (folder.isEmpty())
        return false;
    bool loaded = true;
    for (const char* file : FaceFiles)
        loaded = QFontDatabase::addApplicationFont(FilePath(folder, file)) >= 0 && loaded;
    return loaded;
}

void UseProgramFacesOnly()
{
    const QString folder = ProgramFacesFolder();
    if (folder.isEmpty())
        return;
    // A configuration of no rules and these files: fontconfig neither reads
    // the system's configuration nor lists its font folders, and Qt's
    // database, built from the current configuration, holds these faces alone.
    FcConfig* config = FcConfigCreate();
    bool added = config != nullptr;
    for (const char* file : FaceFiles)
        added = added && FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(
                                                            FilePath(folder, file).toLocal8Bit().constData()));
    if (added)
        FcConfigSetCurrent(config);
    if (config != nullptr)
        FcConfigDestroy(config);
}
