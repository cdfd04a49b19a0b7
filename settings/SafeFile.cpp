// Safe whole-file reading and atomic whole-file replacement (see SafeFile.h).
#include "settings/SafeFile.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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
    // Closes now and reports the result: for a written file, close is where
    // some file systems report a failed write.
    bool Close()
    {
        int fd = Fd_;
        Fd_ = -1;
        return ::close(fd) == 0;
    }

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

// The file a path names, through symbolic links when they lead anywhere.
std::string ResolvedTarget(const std::string& path)
{
    struct stat link;
    if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            std::string resolved(real);
            std::free(real);
            return resolved;
        }
    }
    return path;
}

// A name beside `target` that no other writer uses: the process id keeps
// processes apart, the counter the calls of one process.
std::string TemporaryName(const std::string& target)
{
    static std::atomic<unsigned> counter{0};
    std::size_t slash = target.rfind('/');
    std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    return folder + "." + base + "." + std::to_string(::getpid()) + "." +
           std::to_string(counter.fetch_add(1)) + ".tmp";
}

// Makes the rename itself durable; a folder that cannot be synced (some file
// systems refuse) does not undo a replacement that has already happened.
void SyncFolderOf(const std::string& target)
{
    std::size_t slash = target.rfind('/');
    std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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

bool ReplaceFileBytes(const std::string& path, std::string_view bytes)
{
    const std::string target = ResolvedTarget(path);
    struct stat old;
    bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        errno = S_ISDIR(old.st_mode) ? EISDIR : EINVAL;
        return false;
    }
    if (!exists && errno != ENOENT)
        return false;

    std::string temporary;
    int fd = -1;
    for (unsigned attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = TemporaryName(target);
        // 0666 under the umask, as for any new file; an old file's mode below.
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    Descriptor file(fd);

    if (exists) {
        // Only a privileged writer can give the file back to its owner;
        // anyone else keeps owning what they write. The owner first: a
        // change of owner clears set-id bits the mode then restores.
        if (::geteuid() == 0)
            (void)!::fchown(fd, old.st_uid, old.st_gid);
        if (::fchmod(fd, old.st_mode & 07777) != 0) {
            ::unlink(temporary.c_str());
            return false;
        }
    }
    if (!WriteAll(fd, bytes) || ::fsync(fd) != 0 || !file.Close() ||
        ::rename(temporary.c_str(), target.c_str()) != 0) {
        int saved = errno;
        ::unlink(temporary.c_str());
        errno = saved;
        return false;
    }
    SyncFolderOf(target);
    return true;
}
