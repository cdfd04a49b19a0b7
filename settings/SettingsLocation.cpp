// Choosing between the settings file beside the executable and the per-user one.
#include "settings/SettingsLocation.h"

#include "settings/SettingsFile.h"
#include "files/SafeFile.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <unistd.h>

namespace {

// The folder with symbolic links followed; empty when it does not exist.
std::string Canonical(const std::string& folder)
{
    std::string result;
    if (char* real = ::realpath(folder.c_str(), nullptr)) {
        result = real;
        std::free(real);
    }
    return result;
}

} // namespace

std::string ChooseSettingsFile(const std::string& besideExecutable, const std::string& perUserFile, bool installed,
                               const TPathTest& isFolderWritable, const TPathTest& exists)
{
    if (installed)
        return perUserFile;
    if (perUserFile.empty() || exists(besideExecutable) || isFolderWritable(FolderOfFile(besideExecutable)))
        return besideExecutable;
    return perUserFile;
}

std::string FolderOfFile(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::vector<std::string> SystemProgramFolders()
{
    return {ORVALIS_INSTALL_BINDIR, "/usr/local/bin", "/usr/bin", "/bin", "/usr/local/sbin", "/usr/sbin",
            "/sbin", "/usr/local/games", "/usr/games"};
}

bool IsProgramFolder(const std::string& folder, const std::vector<std::string>& programFolders)
{
    const std::string canonical = Canonical(folder);
    if (canonical.empty())
        return false;
    for (const std::string& programs : programFolders)
        if (Canonical(programs) == canonical)
            return true;
    return false;
}

bool IsFolderWritable(const std::string& folder)
{
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

bool PathExists(const std::string& path)
{
    return ::access(path.c_str(), F_OK) == 0;
}

std::string LocateSettingsFile(const std::string& executablePath, const std::string& perUserFile)
{
    const std::string beside = SettingsFileName(executablePath);
    const bool installed = IsProgramFolder(FolderOfFile(beside), SystemProgramFolders());
    const std::string chosen = ChooseSettingsFile(beside, perUserFile, installed, IsFolderWritable, PathExists);
    if (chosen == perUserFile && !perUserFile.empty()) {
        std::error_code ignored; // reported by the write at exit, with the file's name
        std::filesystem::create_directories(FolderOfFile(perUserFile), ignored);
    }
    RemoveStaleStagedFiles(chosen);
    return chosen;
}
