// TCode: the growable buffer the code generator writes machine code into and
// from which that code runs.
#pragma once

#include "RapidEvaluator/ExecutableMemory.h"

#include <cstdint>
#include <span>

class TCode {
public:
    static constexpr int InitialCapacity = 1024;
    static constexpr int CodeGrowth = 1024;

    TCode();

    int Size() const { return Size_; }
    int Capacity() const { return Capacity_; }
    // The code where it runs; its bytes are written through another view of
    // the same memory when the memory is dual (see TExecutableMemory).
    const std::uint8_t* Buffer() const { return Memory.Code(); }
    const std::uint8_t* WriteView() const { return Memory.Data(); }

    // Starts new code: Size := 0, and the buffer is writable again.
    void Clear();

    void EmitByte(std::uint8_t b)
    {
        if (Size_ >= WriteLimit)
            MakeRoom(1);
        Memory.Data()[Size_++] = b;
    }
    // The high byte, then the low byte: EmitWord(0xD9FE) appends D9 FE, which
    // is how the instruction tables are written.
    void EmitWord(std::uint16_t w);
    // The four bytes, least significant first.
    void EmitDword(std::uint32_t d);
    void EmitBytes(std::span<const std::uint8_t> bytes);

    // Capacity += CodeGrowth, keeping the code.
    void Grow();

    // Lowest offset of `pattern` in the code, or -1.
    int FindPattern(std::span<const std::uint8_t> pattern) const;
    // Deletes every occurrence of `pattern`, also those that a deletion brings
    // together. The pattern must not overlap itself (no proper prefix of it is
    // also a suffix); then one pass that drops the pattern whenever it appears
    // at the end of the bytes kept so far leaves what deleting the first
    // occurrence over and over again would leave.
    void RemovePattern(std::span<const std::uint8_t> pattern);

    // Overwrites four bytes already emitted, least significant first.
    void PatchDword(int offset, std::uint32_t d);

    // Makes the code runnable: the executable view of dual memory is mapped
    // afresh; a single view is sealed read-execute, and the next Emit or
    // Clear makes it writable.
    void MakeExecutable()
    {
        Memory.MakeExecutable();
        if (!Memory.Writable())
            WriteLimit = -1;
    }
    bool Executable() const { return Memory.Executable(); }

private:
    void MakeWritable();  // unseals (a no-op while writable) and lifts the write limit
    void MakeRoom(int bytes);

    int Capacity_ = InitialCapacity;
    int Size_ = 0;
    // Emitting below this size needs no check: Capacity_ while writable, -1
    // while sealed, so that the first byte after sealing takes the slow path.
    int WriteLimit = InitialCapacity;
    TExecutableMemory Memory;
};
