// Executable memory from the system's page mappings (mmap, mremap, mprotect).
#include "RapidEvaluator/ExecutableMemory.h"

#include "numeric/Exceptions.h"

#include <sys/mman.h>
#include <unistd.h>

namespace {

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

} // namespace

TExecutableMemory::TExecutableMemory(std::size_t bytes)
{
    const std::size_t size = WholePages(bytes);
    void* block = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED)
        throw EOutOfMemory();
    Data_ = static_cast<std::uint8_t*>(block);
    Size_ = size;
}

TExecutableMemory::~TExecutableMemory()
{
    munmap(Data_, Size_);
}

void TExecutableMemory::Resize(std::size_t bytes)
{
    if (bytes <= Size_)
        return;
    const std::size_t size = WholePages(bytes);
    // The kernel moves the page mappings instead of copying the bytes, so a
    // block that grows step by step stays linear in its final size.
    void* block = mremap(Data_, Size_, size, MREMAP_MAYMOVE);
    if (block == MAP_FAILED)
        throw EOutOfMemory();
    Data_ = static_cast<std::uint8_t*>(block);
    Size_ = size;
}

void TExecutableMemory::MakeWritable()
{
    if (Writable_)
        return;
    if (mprotect(Data_, Size_, PROT_READ | PROT_WRITE) != 0)
        throw Exception("The memory for the formula code cannot be made writable");
    Writable_ = true;
}

void TExecutableMemory::MakeExecutable()
{
    if (!Writable_)
        return;
    if (mprotect(Data_, Size_, PROT_READ | PROT_EXEC) != 0)
        throw Exception("The memory for the formula code cannot be made executable");
    Writable_ = false;
}
