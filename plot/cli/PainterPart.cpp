// Finding and loading the painter module.
#include "plot/cli/PainterPart.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <sys/stat.h>

namespace {

const char ModuleName[] = "orvalis-plot-painter.so";
const char EntryName[] = "OrvalisPlotWithPainter";

bool IsFile(const std::string& path)
{
    struct stat status{};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

// The folder of the running program, links followed.
std::string ProgramFolder()
{
    char path[4096];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return ".";
    const std::string program(path, static_cast<std::size_t>(length));
    return program.substr(0, program.rfind('/'));
}

// The module's file: in the program library folder of an installed copy,
// or beside the program in a build folder.
std::string PainterPartPath()
{
    const std::string folder = ProgramFolder();
    const std::string installed = folder + "/" ORVALIS_PAINTER_FOLDER_FROM_PROGRAM "/" + ModuleName;
    if (IsFile(installed))
        return installed;
    return folder + "/" + ModuleName;
}

}  // namespace

void RunWithPainter(int argc, char** argv, void (*end)(int status))
{
    const std::string path = PainterPartPath();
    void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        std::fprintf(stderr, "orvalis-plot: Cannot load the drawing module: %s.\n", ::dlerror());
        return;
    }
    using TEntry = void (*)(int, char**, void (*)(int));
    const auto entry = reinterpret_cast<TEntry>(::dlsym(module, EntryName));
    if (entry == nullptr) {
        std::fprintf(stderr, "orvalis-plot: Cannot load the drawing module: %s.\n", ::dlerror());
        return;
    }
    entry(argc, argv, end);
}
