// Finds the faces' files where the distributions put them and makes them the
// ones fontconfig, and so Qt's font database, knows by the faces' names.
#include "plot/ProgramFaces.h"

#include <fontconfig/fontconfig.h>

namespace {

QString FilePath(const QString& folder, const char* file)
{
    return folder + QLatin1Char('/') + QLatin1String(file);
}

// The faces' files added to `config`, which becomes the current configuration.
void UseConfiguration(FcConfig* config, const QString& folder)
{
    bool added = config != nullptr;
    for (const char* file : ProgramFaceFiles)
        added = added && FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(
                                                            FilePath(folder, file).toLocal8Bit().constData()));
    if (added)
        FcConfigSetCurrent(config);
    if (config != nullptr)
        FcConfigDestroy(config);
}

}  // namespace

void UseProgramFaces()
{
    const QString folder = ProgramFacesFolder();
    if (folder.isEmpty())
        return;
    // The machine's configuration, and a rule that drops every font of the
    // faces' names but those in the package's folder.
    FcConfig* config = FcInitLoadConfig();
    const QString rule = QStringLiteral(
        "<fontconfig><selectfont>"
        "<acceptfont><glob>%1/*</glob></acceptfont>"
        "<rejectfont>"
        "<pattern><patelt name=\"family\"><string>%2</string></patelt></pattern>"
        "<pattern><patelt name=\"family\"><string>%3</string></patelt></pattern>"
        "</rejectfont>"
        "</selectfont></fontconfig>")
        .arg(folder, QLatin1String(ProgramSansFace), QLatin1String(ProgramMonoFace));
    if (config != nullptr
        && (!FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(rule.toUtf8().constData()),
                                            FcFalse)
            || !FcConfigBuildFonts(config))) {
        FcConfigDestroy(config);
        return;
    }
    UseConfiguration(config, folder);
}

void UseProgramFacesOnly()
{
    const QString folder = ProgramFacesFolder();
    if (folder.isEmpty())
        return;
    // A configuration of no rules and this folder alone: fontconfig neither
    // reads the system's configuration nor lists its font folders, and Qt's
    // database, built from the current configuration, holds these faces
    // alone. The folder is read from the system's or the user's cache of it
    // where there is one, which costs far less than reading the files.
    const QString configuration = QStringLiteral(
        "<fontconfig><dir>%1</dir>"
        "<cachedir>/var/cache/fontconfig</cachedir><cachedir prefix=\"xdg\">fontconfig</cachedir>"
        "</fontconfig>")
        .arg(folder);
    FcConfig* config = FcConfigCreate();
    if (config == nullptr)
        return;
    if (FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(configuration.toUtf8().constData()),
                                       FcFalse)
        && FcConfigBuildFonts(config))
        FcConfigSetCurrent(config);
    FcConfigDestroy(config);
}
