// Executable memory from the system's page mappings: a memory file mapped
// twice (memfd_create, mmap), or one anonymous mapping toggled by mprotect.
#include "RapidEvaluator/ExecutableMemory.h"

#include "numeric/Exceptions.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// Kernels that can forbid executable memory files want executability asked for.
#ifndef MFD_EXEC
#define MFD_EXEC 0x0010U
#endif

std::size_t PageSize()
{
    static const std::size_t size = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    return size;
}

std::size_t WholePages(std::size_t bytes)
{
    const std::size_t page = PageSize();
    if (bytes == 0)
        return page;
    if (bytes > SIZE_MAX - page)
        throw EOutOfMemory();
    return (bytes + page - 1) / page * page;
}

int CreateMemoryFile()
{
    int file = memfd_create("orvalis-formula-code", MFD_CLOEXEC | MFD_EXEC);
    if (file < 0 && errno == EINVAL)  // a kernel that knows no MFD_EXEC
        file = memfd_create("orvalis-formula-code", MFD_CLOEXEC);
    return file;
}

// Pages taken when the file grows, so that running out of memory is an error
// here and not a fault at the first write.
bool Reserve(int file, std::size_t size)
{
    return ftruncate(file, static_cast<off_t>(size)) == 0 && fallocate(file, 0, 0, static_cast<off_t>(size)) == 0;
}

void* MapView(int file, std::size_t size, int protection)
{
    return mmap(nullptr, size, protection, MAP_SHARED, file, 0);
}

} // namespace

TExecutableMemory::TExecutableMemory(std::size_t bytes, TMapping mapping)
{
    const std::size_t size = WholePages(bytes);
    if (mapping == TMapping::Single || !MapDual(size))
        MapSingle(size);
}

bool TExecutableMemory::MapDual(std::size_t size)
{
    const int file = CreateMemoryFile();
    if (file < 0)
        return false;
    void* write = MAP_FAILED;
    void* execute = MAP_FAILED;
    if (Reserve(file, size)) {
        write = MapView(file, size, PROT_READ | PROT_WRITE);
        if (write != MAP_FAILED)
            execute = MapView(file, size, PROT_READ | PROT_EXEC);
    }
    if (execute == MAP_FAILED) {
        if (write != MAP_FAILED)
            munmap(write, size);
        close(file);
        return false;
    }
    File = file;
    Write = static_cast<std::uint8_t*>(write);
    Execute = static_cast<const std::uint8_t*>(execute);
    Size_ = size;
    return true;
}

void TExecutableMemory::MapSingle(std::size_t size)
{
    void* block = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED)
        throw EOutOfMemory();
    Write = static_cast<std::uint8_t*>(block);
    Execute = Write;
    Size_ = size;
}

TExecutableMemory::~TExecutableMemory()
{
    munmap(Write, Size_);
    if (Dual()) {
        munmap(const_cast<std::uint8_t*>(Execute), Size_);
        close(File);
    }
}

void TExecutableMemory::Resize(std::size_t bytes)
{
    if (bytes <= Size_)
        return;
    if (!Dual()) {
        const std::size_t size = WholePages(bytes);
        // The kernel moves the page mappings instead of copying the bytes, so a
        // block that grows step by step stays linear in its final size.
        void* block = mremap(Write, Size_, size, MREMAP_MAYMOVE);
        if (block == MAP_FAILED)
            throw EOutOfMemory();
        Write = static_cast<std::uint8_t*>(block);
        Execute = Write;
        Size_ = size;
        return;
    }
    // The bytes live in the file: a longer file, and new views of all of it.
    // Both views are made anew, so the file at least doubles each time and a
    // buffer that grows step by step stays linear in its final size.
    const std::size_t size = WholePages(std::max(bytes, 2 * Size_));
    if (!Reserve(File, size))
        throw EOutOfMemory();
    void* write = MapView(File, size, PROT_READ | PROT_WRITE);
    if (write == MAP_FAILED)
        throw EOutOfMemory();
    void* execute = MapView(File, size, PROT_READ | PROT_EXEC);
    if (execute == MAP_FAILED) {
        munmap(write, size);
        throw EOutOfMemory();
    }
    munmap(Write, Size_);
    munmap(const_cast<std::uint8_t*>(Execute), Size_);
    Write = static_cast<std::uint8_t*>(write);
    Execute = static_cast<const std::uint8_t*>(execute);
    Size_ = size;
}

void TExecutableMemory::MakeWritable()
{
    if (Dual() || SingleWritable)
        return;
    if (mprotect(Write, Size_, PROT_READ | PROT_WRITE) != 0)
        throw Exception("The memory for the formula code cannot be made writable");
    SingleWritable = true;
}

void TExecutableMemory::MakeExecutable()
{
    if (Dual()) {
        void* execute = const_cast<std::uint8_t*>(Execute);
        if (mmap(execute, Size_, PROT_READ | PROT_EXEC, MAP_SHARED | MAP_FIXED, File, 0) != execute)
            throw Exception("The memory for the formula code cannot be made executable");
        return;
    }
    if (!SingleWritable)
        return;
    if (mprotect(Write, Size_, PROT_READ | PROT_EXEC) != 0)
        throw Exception("The memory for the formula code cannot be made executable");
    SingleWritable = false;
}
