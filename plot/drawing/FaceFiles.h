// The program's own faces, Liberation Sans and Liberation Mono, and the
// folder of the package that holds their files: found with Qt's core alone,
// so that a page can be measured and written without Qt's GUI.
#pragma once

#include <QString>

// The sans-serif face of the window, the dialogs, the About window and the
// "Plot now" button; metric-compatible with Arial.
constexpr const char ProgramSansFace[] = "Liberation Sans";
// The fixed-pitch face of the edit boxes, their captions and every text of a
// picture; metric-compatible with Courier New.
constexpr const char ProgramMonoFace[] = "Liberation Mono";

// The files the program loads: regular and bold of each face (it draws no
// italic text).
extern const char* const ProgramFaceFiles[4];
// The file of the fixed-pitch regular face, the one every picture text uses.
extern const char ProgramMonoRegularFile[];

// The folder the faces' files were found in; empty when none holds them all.
QString ProgramFacesFolder();
// The path of one of the faces' files: in the folder that holds them, or
// where the distributions put them first when none does (a path to name in
// an error).
QString ProgramFaceFile(const char* file);
