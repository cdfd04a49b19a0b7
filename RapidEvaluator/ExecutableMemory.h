// Whole pages for generated machine code, never writable and executable
// through the same address: two views of one memory file, one read-write for
// writing code and one read-execute for running it, so that new code needs no
// change of protection. Where the system refuses such a file, one view
// serves both: sealed read-execute after writing, writable again for new code.
#pragma once

#include <cstddef>
#include <cstdint>

class TExecutableMemory {
public:
    enum class TMapping : std::uint8_t {
        DualWherePossible,  // two views of a memory file unless the system refuses one
        Single,             // one view, toggled by MakeWritable and MakeExecutable
    };

    // At least `bytes` bytes, writable. Raises EOutOfMemory.
    explicit TExecutableMemory(std::size_t bytes, TMapping mapping = TMapping::DualWherePossible);
    ~TExecutableMemory();
    TExecutableMemory(const TExecutableMemory&) = delete;
    TExecutableMemory& operator=(const TExecutableMemory&) = delete;

    // The view code is written through, and the view it runs from: the same
    // bytes at two addresses, or one address when the memory is not dual.
    // x86 keeps its instruction caches coherent with stores by physical
    // address, but a processor emulator (qemu's user mode, which runs the
    // i386 tests on kernels without 32-bit support) only notices stores to
    // the addresses its translations came from: MakeExecutable maps the
    // executable view afresh, which makes any emulator translate it again.
    std::uint8_t* Data() const { return Write; }
    const std::uint8_t* Code() const { return Execute; }
    std::size_t Size() const { return Size_; }
    bool Dual() const { return File >= 0; }
    // Whether Data() may be written, and Code() run, now.
    bool Writable() const { return Dual() || SingleWritable; }
    bool Executable() const { return Dual() || !SingleWritable; }

    // Makes the block at least `bytes` long, keeping its contents and its
    // protection; both views may move. Raises EOutOfMemory.
    void Resize(std::size_t bytes);

    // Before writing code, and after it, ready to run. The single view is
    // toggled between read-write and read-execute; for the dual memory
    // MakeWritable is a no-op and MakeExecutable maps the executable view
    // again at its address. Raise Exception when refused.
    void MakeWritable();
    void MakeExecutable();

private:
    bool MapDual(std::size_t size);
    void MapSingle(std::size_t size);

    std::uint8_t* Write = nullptr;
    const std::uint8_t* Execute = nullptr;
    std::size_t Size_ = 0;
    int File = -1;               // the memory file behind both views, or -1
    bool SingleWritable = true;  // the single view's state
};
