// The program's own faces: Liberation Sans and Liberation Mono, loaded from
// the files of the package the program depends on, so that every window,
// dialog and picture has the same letters on every machine, whatever other
// fonts it has. The desktop's own font stays with the desktop's parts (menu
// bar, title bar, Qt's dialogs), and a character these faces lack is still
// found in the machine's other fonts.
#pragma once

#include "plot/drawing/FaceFiles.h"

#include <QString>

// Before the application object exists: the machine's font configuration,
// in which the names above find the faces' files from the program's
// package, even where the configuration leaves that folder out, and never
// another copy of the faces (the older version 1 package, say). Without the
// files the names fall to the configuration's choice.
void UseProgramFaces();

// Before the application object exists: the font configuration holds the
// program's faces alone, so that the machine's fonts are never scanned. For
// a process that draws no text but its own (the command-line renderer).
void UseProgramFacesOnly();
