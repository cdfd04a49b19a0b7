// Choosing between the settings file beside the executable and the per-user one.
#include "settings/SettingsLocation.h"

#include "settings/SettingsFile.h"

#include <filesystem>
#include <system_error>

#include <unistd.h>

std::string ChooseSettingsFile(const std::string& besideExecutable, const std::string& perUserFile,
                               const TPathTest& isFolderWritable, const TPathTest& exists)
{
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
    const std::string chosen =
        ChooseSettingsFile(SettingsFileName(executablePath), perUserFile, IsFolderWritable, PathExists);
    if (chosen == perUserFile) {
        std::error_code ignored; // reported by the write at exit, with the file's name
        std::filesystem::create_directories(FolderOfFile(perUserFile), ignored);
    }
    return chosen;
}
