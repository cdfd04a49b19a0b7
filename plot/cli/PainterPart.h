// The part of orvalis-plot that draws with Qt's painter is a module of its
// own, loaded only when a request needs it: a process that writes an SVG
// page never loads Qt's GUI libraries, whose loading alone costs as much as
// the rest of such a run.
#pragma once

// Loads the module and hands it the command line; `end` ends the process
// with the run's status. Returns only when the module cannot be loaded,
// having said why on standard error.
void RunWithPainter(int argc, char** argv, void (*end)(int status));
