// Where the settings file lives: beside the executable as a rule, in the
// user's configuration folder when the executable's folder cannot take it.
#pragma once

#include <functional>
#include <string>

using TPathTest = std::function<bool(const std::string& path)>;

// The settings file to use. `besideExecutable` is the file SettingsFileName
// gives for the executable; it is kept when it exists or when its folder is
// writable, so a program run from a folder of its own behaves as it always
// has. Otherwise (an installed program in a system folder) `perUserFile`,
// unless that is empty because there is no user folder to put it in.
// `isFolderWritable` is asked about the folder of `besideExecutable`,
// `exists` about `besideExecutable` itself.
std::string ChooseSettingsFile(const std::string& besideExecutable, const std::string& perUserFile,
                               const TPathTest& isFolderWritable, const TPathTest& exists);

// The folder part of a file path: everything before its last "/", "/" for
// a file in the root folder, "." for a bare name.
std::string FolderOfFile(const std::string& path);

// Whether this process may create and replace files in `folder`. A read-only
// file system counts as not writable, for every user.
bool IsFolderWritable(const std::string& folder);

// Whether anything is found at `path`, a symbolic link followed.
bool PathExists(const std::string& path);

// ChooseSettingsFile for `executablePath` on the real file system. When the
// per-user file is chosen its folder is created, with its parents, if
// missing; should that fail, the write at exit reports the file's name.
std::string LocateSettingsFile(const std::string& executablePath, const std::string& perUserFile);
