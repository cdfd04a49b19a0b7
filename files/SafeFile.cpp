// Safe whole-file reading and the one file writer (see SafeFile.h).
#include "files/SafeFile.h"

#include "files/FileNames.h"

#include <cerrno>
#include <cstring>
#include <optional>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Bytes gathered before a write: giflib hands over a few hundred at a time.
constexpr std::size_t WriteChunk = 64 * 1024;

// How often a FIFO without a reader is tried again.
constexpr std::chrono::milliseconds ReaderPoll{20};

// Closes a descriptor on every way out, keeping errno as it was.
class Descriptor {
public:
    explicit Descriptor(int fd) : Fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor()
    {
        if (Fd_ >= 0) {
            int saved = errno;
            ::close(Fd_);
            errno = saved;
        }
    }
    int Get() const { return Fd_; }

private:
    int Fd_;
};

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The descriptor that /dev/stdout, /dev/stderr, /dev/fd/N or
// /proc/self/fd/N name. They are written through it: reopening them fails
// for a socket and would replace a regular file the shell opened.
std::optional<int> NamedDescriptor(const std::string& path)
{
    if (path == "/dev/stdout")
        return 1;
    if (path == "/dev/stderr")
        return 2;
    for (const char* prefix : {"/dev/fd/", "/proc/self/fd/"}) {
        const std::size_t length = std::strlen(prefix);
        if (path.compare(0, length, prefix) != 0 || path.size() == length || path.size() > length + 9)
            continue;
        int fd = 0;
        for (std::size_t i = length; i < path.size(); ++i) {
            if (path[i] < '0' || path[i] > '9')
                return std::nullopt;
            fd = fd * 10 + (path[i] - '0');
        }
        return fd;
    }
    return std::nullopt;
}

// Whether this process may change the file, by its mode bits for root too:
// a write-protected file is left alone whoever runs the program.
bool MayWrite(const std::string& target, const struct stat& file)
{
    if (::geteuid() == 0)
        return (file.st_mode & 0222) != 0;
    return ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0;
}

// An unnamed file is given its name through /proc/self/fd.
std::string DescriptorPath(int fd)
{
    return "/proc/self/fd/" + std::to_string(fd);
}

// Makes the rename itself durable; a folder that cannot be synced (some file
// systems refuse) does not undo a replacement that has already happened.
void SyncFolderOf(const std::string& target)
{
    int fd = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

FileBytes ReadFileBytes(const std::string& path, std::size_t limit)
{
    FileBytes result;
    Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.Get() < 0) {
        result.State = errno == ENOENT ? FileState::Missing : FileState::Unreadable;
        return result;
    }
    struct stat info;
    if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<unsigned long long>(info.st_size) > limit) {
        result.State = FileState::Unreadable;
        return result;
    }
    // Read to the end, whatever the size said: the file may change meanwhile.
    result.Bytes.reserve(static_cast<std::size_t>(info.st_size));
    char chunk[65536];
    for (;;) {
        ssize_t n = ::read(file.Get(), chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || result.Bytes.size() + static_cast<std::size_t>(n) > limit) {
            result.Bytes.clear();
            result.State = FileState::Unreadable;
            return result;
        }
        if (n == 0)
            break;
        result.Bytes.append(chunk, static_cast<std::size_t>(n));
    }
    result.State = FileState::Read;
    return result;
}

EFileWriteError::EFileWriteError(const std::string& fileName, int error)
    : Exception("Cannot write " + fileName + ": " + std::strerror(error)), Error_(error)
{
}

EFileWriteError::EFileWriteError(std::string message, int error, bool) : Exception(std::move(message)), Error_(error)
{
}

EFileWriteError EFileWriteError::NothingReading(const std::string& fileName)
{
    return EFileWriteError("Nothing is reading " + fileName + ".", ENXIO, true);
}

TFileWriter::TFileWriter(std::string fileName, TStaging staging, const TWaitHook& wait)
    : FileName_(std::move(fileName))
{
    if (const std::optional<int> fd = NamedDescriptor(FileName_)) {
        Fd_ = ::fcntl(*fd, F_DUPFD_CLOEXEC, 3);
        struct stat info;
        if (Fd_ < 0 || ::fstat(Fd_, &info) != 0)
            Fail(errno);
        InPlace_ = true;
        SyncInPlace_ = S_ISREG(info.st_mode);
        return;
    }
    Target_ = ResolvedTarget(FileName_);
    struct stat old;
    const bool exists = ::stat(Target_.c_str(), &old) == 0;
    if (!exists && errno != ENOENT)
        Fail(errno);
    if (exists && S_ISDIR(old.st_mode))
        Fail(EISDIR);
    if (exists && !S_ISREG(old.st_mode)) {
        OpenInPlace(S_ISFIFO(old.st_mode), wait);
        return;
    }
    if (exists && !MayWrite(Target_, old))
        Fail(EACCES);
    NewFile_ = !exists;
    RemoveStaleStagedFilesBeside(Target_);

    // 0666 under the umask, as for any new file; an old file's mode below.
    if (staging == TStaging::Unnamed && ::access("/proc/self/fd", X_OK) == 0)
        Fd_ = ::open(FolderOf(Target_).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    for (unsigned attempt = 0; Fd_ < 0 && attempt < 100; ++attempt) {
        Staged_ = TemporaryName(Target_);
        Fd_ = ::open(Staged_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (Fd_ < 0) {
            const int error = errno;
            Staged_.clear();
            if (error != EEXIST)
                Fail(error);
        }
    }
    if (Fd_ < 0)
        Fail(EEXIST);
    if (!Staged_.empty())
        NoteOwnStagedFile(Target_);
    if (exists) {
        // Only a privileged writer can give the file back to its owner;
        // anyone else keeps owning what they write. The owner first: a
        // change of owner clears set-id bits the mode then restores.
        if (::geteuid() == 0)
            (void)!::fchown(Fd_, old.st_uid, old.st_gid);
        if (::fchmod(Fd_, old.st_mode & 07777) != 0)
            Fail(errno);
    }
}

// Opening never blocks: a FIFO without a reader would hold the caller until
// one came, for ever.
void TFileWriter::OpenInPlace(bool fifo, const TWaitHook& wait)
{
    const auto open = [this] { return ::open(Target_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY); };
    Fd_ = open();
    int error = errno;
    const auto giveUp = std::chrono::steady_clock::now() + ReaderWait;
    while (Fd_ < 0 && error == ENXIO && fifo && std::chrono::steady_clock::now() < giveUp) {
        const auto attempt = std::chrono::steady_clock::now();
        if (wait)
            wait();
        std::this_thread::sleep_until(attempt + ReaderPoll);
        Fd_ = open();
        error = errno;
    }
    if (Fd_ < 0 && error == ENXIO && fifo)
        throw EFileWriteError::NothingReading(FileName_);
    if (Fd_ < 0)
        Fail(error);
    // The bytes then go as to any file, each write waiting for room.
    const int flags = ::fcntl(Fd_, F_GETFL);
    if (flags < 0 || ::fcntl(Fd_, F_SETFL, flags & ~O_NONBLOCK) != 0)
        Fail(errno);
    InPlace_ = true;
}

TFileWriter::~TFileWriter()
{
    if (Fd_ >= 0)
        ::close(Fd_);
    if (!Committed_ && !Staged_.empty())
        ::unlink(Staged_.c_str());
}

void TFileWriter::Fail(int error)
{
    if (!Staged_.empty()) {
        ::unlink(Staged_.c_str());
        Staged_.clear();
    }
    if (Fd_ >= 0) {
        ::close(Fd_);
        Fd_ = -1;
    }
    Finished_ = true;
    throw EFileWriteError(FileName_, error);
}

void TFileWriter::Flush()
{
    if (Fd_ < 0)
        Fail(EBADF);
    if (!WriteAll(Fd_, Buffer_))
        Fail(errno);
    Buffer_.clear();
}

void TFileWriter::Write(std::string_view bytes)
{
    if (Finished_)
        Fail(EBADF);
    if (Buffer_.size() + bytes.size() < WriteChunk) {
        Buffer_.append(bytes);
        return;
    }
    // Large pieces go out as they are, without a copy.
    Flush();
    if (!WriteAll(Fd_, bytes))
        Fail(errno);
}

void TFileWriter::Finish()
{
    if (Finished_)
        return;
    Flush();
    if ((!InPlace_ || SyncInPlace_) && ::fsync(Fd_) != 0)
        Fail(errno);
    if (!InPlace_ && !Staged_.empty()) {
        // Close is where some file systems report a failed write.
        const int fd = Fd_;
        Fd_ = -1;
        if (::close(fd) != 0)
            Fail(errno);
    }
    Finished_ = true;
}

void TFileWriter::Commit()
{
    if (Fd_ < 0 && Staged_.empty())
        Fail(EBADF);
    Finish();
    if (InPlace_) {
        const int fd = Fd_;
        Fd_ = -1;
        if (::close(fd) != 0)
            Fail(errno);
        Committed_ = true;
        return;
    }
    if (Staged_.empty()) {
        // An unnamed file: a new target gets its name at once; an old one is
        // replaced through a name of its own, held only until the rename.
        const std::string source = DescriptorPath(Fd_);
        if (NewFile_ && ::linkat(AT_FDCWD, source.c_str(), AT_FDCWD, Target_.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            Committed_ = true;
        } else {
            for (unsigned attempt = 0; Staged_.empty() && attempt < 100; ++attempt) {
                Staged_ = TemporaryName(Target_);
                if (::linkat(AT_FDCWD, source.c_str(), AT_FDCWD, Staged_.c_str(), AT_SYMLINK_FOLLOW) != 0) {
                    const int error = errno;
                    Staged_.clear();
                    if (error != EEXIST)
                        Fail(error);
                }
            }
            if (Staged_.empty())
                Fail(EEXIST);
        }
        // Its bytes are on the disk already: fsync reported any failure.
        ::close(Fd_);
        Fd_ = -1;
    }
    if (!Committed_) {
        if (::rename(Staged_.c_str(), Target_.c_str()) != 0)
            Fail(errno);
        Staged_.clear();
        Committed_ = true;
    }
    SyncFolderOf(Target_);
}

void WriteFileBytes(const std::string& fileName, std::string_view bytes, const TWaitHook& wait)
{
    TFileWriter file(fileName, TStaging::Unnamed, wait);
    file.Write(bytes);
    file.Commit();
}
