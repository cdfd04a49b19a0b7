// Test helpers for the settings file: a scratch folder removed afterwards,
// whole-file reading and writing, and running code in a child process.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

class ScratchFolder {
public:
    ScratchFolder()
    {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/orvalis-ini-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            std::abort();
        Path_ = pattern;
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::permissions(Path_, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(Path_, ignored);
    }
    std::string operator/(const std::string& name) const { return Path_ + "/" + name; }
    const std::string& Path() const { return Path_; }

private:
    std::string Path_;
};

inline std::string FileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void PutFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// Runs `body` in a forked child; its result becomes the exit status, an
// exception 126, and a child killed by a signal gives 128 + the signal's number.
template <typename F>
int InChild(F body)
{
    std::fflush(nullptr); // or buffered output would be written twice
    pid_t pid = ::fork();
    if (pid == 0) {
        // Nothing may escape into the copy of the test program.
        try {
            ::_exit(body());
        } catch (...) {
            ::_exit(126);
        }
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
