// Whole-file reading that never blocks or fails loudly, and whole-file
// replacement that is atomic: the two file operations the settings file needs.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// A settings file is a few hundred bytes; anything far larger is not one,
// and is neither read nor rewritten.
inline constexpr std::size_t MaxSettingsFileSize = 16u << 20;

enum class FileState {
    Read,      // the bytes are the file's
    Missing,   // no such file (its folder exists or not)
    Unreadable // anything else: no regular file, no access, too large, a read error
};

struct FileBytes {
    FileState State = FileState::Missing;
    std::string Bytes;
};

// The file's bytes. Opens without blocking (a FIFO or a device by that name
// reads as Unreadable) and reads at most `limit` bytes.
FileBytes ReadFileBytes(const std::string& path, std::size_t limit = MaxSettingsFileSize);

// Replaces the file's content by `bytes`, all or nothing: writes a new file
// beside it, flushes it to the disk, then renames it over the old one. A
// crash, a kill or a full disk leaves the old file or the new one, never a
// mixture (a killed writer may leave its temporary file behind). The new file
// keeps the old one's permissions; a symbolic link is followed, so the file
// it names is replaced. False when the file cannot be replaced, `errno`
// telling why; the old file is then untouched.
bool ReplaceFileBytes(const std::string& path, std::string_view bytes);
