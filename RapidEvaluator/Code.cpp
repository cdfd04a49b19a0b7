// The code buffer: appending bytes, growth by fixed steps, and the pattern
// removal that is the code generator's one peephole optimisation.
#include "RapidEvaluator/Code.h"

#include "numeric/Exceptions.h"

#include <climits>
#include <cstring>

TCode::TCode() : Memory(InitialCapacity) {}

void TCode::Clear()
{
    MakeWritable();
    Size_ = 0;
}

void TCode::MakeWritable()
{
    Memory.MakeWritable();
    WriteLimit = Capacity_;
}

void TCode::MakeRoom(int bytes)
{
    MakeWritable();
    if (Size_ + bytes > Capacity_)
        Grow();
}

void TCode::Grow()
{
    if (Capacity_ > INT_MAX - CodeGrowth)
        throw EOutOfMemory();
    Memory.Resize(static_cast<std::size_t>(Capacity_) + CodeGrowth);
    Capacity_ += CodeGrowth;
    if (Memory.Writable())
        WriteLimit = Capacity_;
}

void TCode::EmitWord(std::uint16_t w)
{
    EmitByte(static_cast<std::uint8_t>(w >> 8));
    EmitByte(static_cast<std::uint8_t>(w & 0xFF));
}

void TCode::EmitDword(std::uint32_t d)
{
    if (Size_ + 4 > WriteLimit)
        MakeRoom(4);
    std::uint8_t* at = Memory.Data() + Size_;
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(d >> (8 * i));
    Size_ += 4;
}

void TCode::PatchDword(int offset, std::uint32_t d)
{
    MakeWritable();
    std::uint8_t* at = Memory.Data() + offset;
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(d >> (8 * i));
}

void TCode::EmitBytes(std::span<const std::uint8_t> bytes)
{
    const int count = static_cast<int>(bytes.size());
    if (Size_ + count > WriteLimit) {
        for (std::uint8_t b : bytes)
            EmitByte(b);
        return;
    }
    std::memcpy(Memory.Data() + Size_, bytes.data(), bytes.size());
    Size_ += count;
}

int TCode::FindPattern(std::span<const std::uint8_t> pattern) const
{
    const int length = static_cast<int>(pattern.size());
    if (length == 0 || length > Size_)
        return length == 0 ? 0 : -1;
    const std::uint8_t* code = Memory.Data();
    for (int i = 0; i + length <= Size_; ++i)
        if (code[i] == pattern[0] && std::memcmp(code + i, pattern.data(), pattern.size()) == 0)
            return i;
    return -1;
}

void TCode::RemovePattern(std::span<const std::uint8_t> pattern)
{
    const int length = static_cast<int>(pattern.size());
    const int first = FindPattern(pattern);
    if (length == 0 || first < 0)
        return;
    MakeWritable();
    std::uint8_t* code = Memory.Data();
    const std::uint8_t head = pattern.front(), tail = pattern.back();
    int kept = first;  // everything before the first occurrence stays where it is
    for (int i = first + length; i < Size_; ++i) {
        const std::uint8_t b = code[i];
        code[kept++] = b;
        if (b == tail && kept >= length && code[kept - length] == head
            && std::memcmp(code + kept - length, pattern.data(), pattern.size()) == 0)
            kept -= length;
    }
    Size_ = kept;
}
