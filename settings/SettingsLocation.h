// Where the settings file lives: beside the executable for a portable copy
// (a build folder, a folder the user unpacked it into), in the user's
// configuration folder for an installed copy or when the executable's
// folder cannot take it.
#pragma once

#include <functional>
#include <string>
#include <vector>

using TPathTest = std::function<bool(const std::string& path)>;

// The settings file to use. `besideExecutable` is the file SettingsFileName
// gives for the executable. An installed copy (`installed`) uses only
// `perUserFile`, for root too, whatever lies beside it: a file there would
// be shared by every user. A portable copy keeps `besideExecutable` when it
// exists or when its folder is writable, so a program run from a folder of
// its own behaves as it always has; otherwise `perUserFile`, unless that is
// empty because there is no user folder to put it in. `isFolderWritable` is
// asked about the folder of `besideExecutable`, `exists` about
// `besideExecutable` itself.
std::string ChooseSettingsFile(const std::string& besideExecutable, const std::string& perUserFile, bool installed,
                               const TPathTest& isFolderWritable, const TPathTest& exists);

// The folders an installed copy runs from: the folder for programs under
// the install prefix this build was configured with, and the system's own
// program folders (/usr/bin, /usr/local/bin, /bin, the sbin and games
// folders), where a package or an administrator puts programs.
std::vector<std::string> SystemProgramFolders();

// Whether `folder` is one of `programFolders`, compared with symbolic links
// followed (/bin is /usr/bin on many systems). Folders that do not exist
// match nothing.
bool IsProgramFolder(const std::string& folder, const std::vector<std::string>& programFolders);

// The folder part of a file path: everything before its last "/", "/" for
// a file in the root folder, "." for a bare name.
std::string FolderOfFile(const std::string& path);

// Whether this process may create and replace files in `folder`. A read-only
// file system counts as not writable, for every user.
bool IsFolderWritable(const std::string& folder);

// Whether anything is found at `path`, a symbolic link followed.
bool PathExists(const std::string& path);

// ChooseSettingsFile for `executablePath` on the real file system, the copy
// installed when the executable's folder is one of SystemProgramFolders.
// When the per-user file is chosen its folder is created, with its
// parents, if missing; should that fail, the write at exit reports the
// file's name. Staged files that killed writers left beside the chosen file
// are removed.
std::string LocateSettingsFile(const std::string& executablePath, const std::string& perUserFile);
