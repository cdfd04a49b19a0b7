// The names the file writer works with, inside the files library: the file
// a path leads to, its folder, the hidden names of staged files, and the
// removal of those that writers killed mid-write left behind.
#pragma once

#include <string>

// The file a path names, through symbolic links when they lead anywhere.
std::string ResolvedTarget(const std::string& path);

std::string FolderOf(const std::string& target);

// A hidden name beside `target`, ".NAME.PID.N.tmp", that no other writer
// uses: the process id keeps processes apart, the counter the calls of one
// process.
std::string TemporaryName(const std::string& target);

// Removes the staged files, of any name, that processes no longer running
// left in `target`'s folder. A folder is read again only when it has changed
// since this process last read it (a new staged file changes its folder)
// or had changed just before, so that a sweep of many frames reads it once.
void RemoveStaleStagedFilesBeside(const std::string& target);

// The writer's own staged file, just made beside `target` after
// RemoveStaleStagedFilesBeside, changed the folder; the next write to the
// folder need not read it again for that.
void NoteOwnStagedFile(const std::string& target);
