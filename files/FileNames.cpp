// The names of targets and staged files, and the removal of stale staged
// files (see FileNames.h and SafeFile.h).
#include "files/FileNames.h"

#include "files/SafeFile.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <map>
#include <mutex>
#include <optional>
#include <string_view>

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string_view StagedEnding = ".tmp";

// A folder changed this recently may change again within the same tick of
// its file system's clock (two seconds on FAT) without its time showing it.
constexpr time_t SettleSeconds = 2;

// The widest process id a staged name carries (Linux's limit has 7 digits).
constexpr std::size_t MaxPidDigits = 9;

struct TStagedName {
    std::string_view Base;
    long Pid;
};

bool AllDigits(std::string_view text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// The target's name and the writer's process id in a name TemporaryName
// gave. Read from the end, so a target's name may hold dots and digits.
std::optional<TStagedName> ParseStagedName(std::string_view name)
{
    if (name.size() < 1 + StagedEnding.size() || name.front() != '.' ||
        name.substr(name.size() - StagedEnding.size()) != StagedEnding)
        return std::nullopt;
    name = name.substr(1, name.size() - 1 - StagedEnding.size());
    const std::size_t counterDot = name.rfind('.');
    if (counterDot == std::string_view::npos || !AllDigits(name.substr(counterDot + 1)))
        return std::nullopt;
    const std::size_t pidDot = name.rfind('.', counterDot - 1);
    if (pidDot == std::string_view::npos || pidDot == 0 || counterDot == 0)
        return std::nullopt;
    const std::string_view pid = name.substr(pidDot + 1, counterDot - pidDot - 1);
    if (!AllDigits(pid) || pid.size() > MaxPidDigits)
        return std::nullopt;
    long value = 0;
    for (char c : pid)
        value = value * 10 + (c - '0');
    return TStagedName{name.substr(0, pidDot), value};
}

bool RunsNoMore(long pid)
{
    return pid != ::getpid() && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

// Removes from `folder` the staged files of dead processes, of the target
// named `base` only, or of any target when `base` is null.
void RemoveStale(const std::string& folder, const std::string* base)
{
    DIR* entries = ::opendir(folder.c_str());
    if (!entries)
        return;
    while (const dirent* entry = ::readdir(entries)) {
        const std::optional<TStagedName> staged = ParseStagedName(entry->d_name);
        if (staged && (!base || staged->Base == *base) && RunsNoMore(staged->Pid))
            ::unlinkat(::dirfd(entries), entry->d_name, 0);
    }
    ::closedir(entries);
}

// A folder as it was when this process last removed its stale files.
struct TFolderState {
    dev_t Device;
    ino_t Inode;
    timespec Changed;

    bool operator==(const TFolderState& other) const
    {
        return Device == other.Device && Inode == other.Inode && Changed.tv_sec == other.Changed.tv_sec &&
               Changed.tv_nsec == other.Changed.tv_nsec;
    }
};

std::optional<TFolderState> StateOf(const std::string& folder)
{
    struct stat info;
    if (::stat(folder.c_str(), &info) != 0)
        return std::nullopt;
    return TFolderState{info.st_dev, info.st_ino, info.st_mtim};
}

// Writers run on any thread.
std::mutex CleanedLock;
std::map<std::string, TFolderState> Cleaned;

} // namespace

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

std::string FolderOf(const std::string& target)
{
    std::size_t slash = target.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
}

std::string TemporaryName(const std::string& target)
{
    static std::atomic<unsigned> counter{0};
    std::size_t slash = target.rfind('/');
    std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    return folder + "." + base + "." + std::to_string(::getpid()) + "." + std::to_string(counter.fetch_add(1)) +
           std::string(StagedEnding);
}

void RemoveStaleStagedFilesBeside(const std::string& target)
{
    const std::string folder = FolderOf(target);
    // Taken before the folder is read: a file made while it is read changes
    // the folder after this, so the next write reads it again.
    const std::optional<TFolderState> before = StateOf(folder);
    if (!before)
        return;
    const std::lock_guard<std::mutex> lock(CleanedLock);
    const auto known = Cleaned.find(folder);
    if (known != Cleaned.end() && known->second == *before)
        return;
    RemoveStale(folder, nullptr);
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    if (before->Changed.tv_sec < now.tv_sec - SettleSeconds)
        Cleaned.insert_or_assign(folder, *before);
    else
        Cleaned.erase(folder);
}

void NoteOwnStagedFile(const std::string& target)
{
    // A file another process made in the same instant waits for the
    // folder's next change: it is a living writer's file at this moment.
    const std::string folder = FolderOf(target);
    const std::lock_guard<std::mutex> lock(CleanedLock);
    if (const std::optional<TFolderState> now = StateOf(folder))
        Cleaned.insert_or_assign(folder, *now);
}

void RemoveStaleStagedFiles(const std::string& fileName)
{
    const std::string target = ResolvedTarget(fileName);
    const std::size_t slash = target.rfind('/');
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    RemoveStale(FolderOf(target), &base);
}
