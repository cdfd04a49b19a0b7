// Whole-file reading that never blocks or fails loudly, and the one file
// writer of the program: a regular file is replaced all or nothing, anything
// else (a device, a pipe, standard output) is written in place.
#pragma once

#include "numeric/Exceptions.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

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
FileBytes ReadFileBytes(const std::string& path, std::size_t limit);

// A write the system refused: "Cannot write <file>: <reason>", the file's
// name as the writer was given it and the system's text for the error.
class EFileWriteError : public Exception {
public:
    EFileWriteError(const std::string& fileName, int error);
    // A FIFO that no process opened for reading within ReaderWait:
    // "Nothing is reading <file>.", with the error ENXIO.
    static EFileWriteError NothingReading(const std::string& fileName);
    int Error() const { return Error_; }

private:
    EFileWriteError(std::string message, int error, bool);

    int Error_;
};

// How long a write to a FIFO waits for a reader before it is refused.
inline constexpr std::chrono::milliseconds ReaderWait{3000};

// Called again and again while a write waits for a FIFO's reader, on the
// writer's thread: a window keeps its events going in it (a short event
// loop), so that it answers while it waits. It may return at once or after
// a moment; the writer paces its own attempts either way. Without one the
// writer just sleeps between attempts.
using TWaitHook = std::function<void()>;

// Where the new content of a regular file waits until Commit.
enum class TStaging {
    // An unnamed file in the target's folder, held open until Commit: a
    // killed writer leaves nothing behind. Falls back to Named where the
    // file system has no unnamed files.
    Unnamed,
    // A hidden file beside the target, closed by Finish: for many files
    // staged at once, which would otherwise hold a descriptor each.
    Named,
};

// Writes one file. A regular file (a symbolic link followed to it) is
// replaced all or nothing: the bytes go to a new file in its folder, every
// write checked, flushed to the disk, and that file takes the target's name
// at Commit, with the old file's permissions (and owner, for root). Until
// then, and after any failure, the old file is as it was and the new one is
// removed. A regular file that its user may not write (by its mode bits,
// for root too) is refused. A target that is no regular file (a character
// or block device, a FIFO, a socket) is written in place, never renamed over
// or removed; so are /dev/stdout, /dev/stderr and /dev/fd/N, which name a
// descriptor of the process. Such a target is opened without blocking: a
// FIFO that nothing reads is tried again for ReaderWait, `wait` called
// meanwhile, then refused; once a reader is there the writes block as for
// any file. Before a regular file is written, the staged files that killed
// writers left in its folder go, whatever file they were meant for.
// Every failure raises EFileWriteError.
class TFileWriter {
public:
    explicit TFileWriter(std::string fileName, TStaging staging = TStaging::Unnamed, const TWaitHook& wait = {});
    // Without Commit: the staged file goes, the old file stays.
    ~TFileWriter();
    TFileWriter(const TFileWriter&) = delete;
    TFileWriter& operator=(const TFileWriter&) = delete;

    const std::string& FileName() const { return FileName_; }
    // Whether the bytes go straight to the target.
    bool InPlace() const { return InPlace_; }

    void Write(std::string_view bytes);
    // Every byte written and, for a regular file, on the disk; a Named
    // staged file is then closed. No more writes.
    void Finish();
    // Finish, then the new file takes the target's place.
    void Commit();

private:
    void OpenInPlace(bool fifo, const TWaitHook& wait);
    void Flush();
    [[noreturn]] void Fail(int error);

    std::string FileName_; // as given, for messages
    std::string Target_;   // the file replaced, a link followed
    std::string Staged_;   // the Named staged file
    std::string Buffer_;
    int Fd_ = -1;
    bool InPlace_ = false;
    bool SyncInPlace_ = false;
    bool NewFile_ = false;
    bool Finished_ = false;
    bool Committed_ = false;
};

// The whole file at once through a TFileWriter.
void WriteFileBytes(const std::string& fileName, std::string_view bytes, const TWaitHook& wait = {});

// Removes the staged files that writers of `fileName` killed at any moment
// left beside it: those named for processes that no longer run. A program
// calls it at start for a file it rewrites again and again; an unnamed
// staged file has a name only between its last write and the rename.
void RemoveStaleStagedFiles(const std::string& fileName);
