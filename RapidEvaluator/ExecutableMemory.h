// Whole pages for generated machine code. The block is either writable or
// executable, never both: code is written, then sealed read-execute, and made
// writable again only when new code is written into it.
#pragma once

#include <cstddef>
#include <cstdint>

class TExecutableMemory {
public:
    // A writable block of at least `bytes` bytes. Raises EOutOfMemory.
    explicit TExecutableMemory(std::size_t bytes);
    ~TExecutableMemory();
    TExecutableMemory(const TExecutableMemory&) = delete;
    TExecutableMemory& operator=(const TExecutableMemory&) = delete;

    std::uint8_t* Data() const { return Data_; }
    std::size_t Size() const { return Size_; }
    bool Writable() const { return Writable_; }

    // Makes the block at least `bytes` long, keeping its contents and its
    // protection; the block may move. Raises EOutOfMemory.
    void Resize(std::size_t bytes);

    // Read-write, for writing code. Raises Exception when the system refuses.
    void MakeWritable();
    // Read-execute, for running code. Raises Exception when the system refuses.
    void MakeExecutable();

private:
    std::uint8_t* Data_ = nullptr;
    std::size_t Size_ = 0;
    bool Writable_ = true;
};
