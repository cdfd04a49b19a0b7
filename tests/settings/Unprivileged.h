// Test helper: leaving root for user nobody in a child process, so that a
// folder's permissions hold for the code under test as they do for a user.
#pragma once

#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include <grp.h>

inline constexpr int NobodyId = 65534;
// The exit status of a child that could not give up root.
inline constexpr int CannotDropRoot = 125;

// In a child as root: becomes user and group nobody, with no other groups.
// Returns false when that fails. As any other user nothing changes.
inline bool DropRoot()
{
    if (::geteuid() != 0)
        return true;
    return ::setgroups(0, nullptr) == 0 && ::setgid(NobodyId) == 0 && ::setuid(NobodyId) == 0 &&
           ::geteuid() != 0;
}

// A folder that the child will not be able to write to but can enter: owned
// by root and 0755 when the tests run as root (the child is then nobody),
// 0555 otherwise.
inline bool MakeUnwritableForChild(const std::string& folder)
{
    return ::chmod(folder.c_str(), ::geteuid() == 0 ? 0755 : 0555) == 0;
}

// A folder that the child can create files and folders in.
inline bool MakeWritableForChild(const std::string& folder)
{
    return ::chmod(folder.c_str(), ::geteuid() == 0 ? 0777 : 0700) == 0;
}
