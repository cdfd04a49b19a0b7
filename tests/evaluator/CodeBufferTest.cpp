// The code buffer: growth, byte order, pattern search and removal, and the
// protection of the memory the code runs from.
#include "RapidEvaluator/Code.h"

#include <gtest/gtest.h>

#include "numeric/Exceptions.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

namespace {

std::vector<std::uint8_t> Bytes(const TCode& code)
{
    return {code.Buffer(), code.Buffer() + code.Size()};
}

void Emit(TCode& code, const std::vector<std::uint8_t>& bytes)
{
    for (std::uint8_t b : bytes)
        code.EmitByte(b);
}

// The removal as first described: delete the first occurrence, search again from 0.
std::vector<std::uint8_t> RemoveRestartingFromZero(std::vector<std::uint8_t> code,
                                                   const std::vector<std::uint8_t>& pattern)
{
    for (;;) {
        auto it = std::search(code.begin(), code.end(), pattern.begin(), pattern.end());
        if (it == code.end())
            return code;
        code.erase(it, it + static_cast<std::ptrdiff_t>(pattern.size()));
    }
}

// The permissions field ("r-xp") of the mapping holding `address`, from /proc.
std::string Permissions(const void* address)
{
    std::ifstream maps("/proc/self/maps");
    const auto where = reinterpret_cast<std::uintptr_t>(address);
    for (std::string line; std::getline(maps, line);) {
        std::istringstream fields(line);
        std::string range, permissions;
        fields >> range >> permissions;
        const auto dash = range.find('-');
        const auto low = std::stoull(range.substr(0, dash), nullptr, 16);
        const auto high = std::stoull(range.substr(dash + 1), nullptr, 16);
        if (where >= low && where < high)
            return permissions;
    }
    return "";
}

const std::vector<std::uint8_t> PushPop = {0x83, 0xEC, 0x08, 0xDD, 0x1C, 0x24,
                                           0xDD, 0x04, 0x24, 0x83, 0xC4, 0x08};

} // namespace

TEST(CodeBuffer, GrowsByFixedStepsKeepingItsBytes)
{
    TCode code;
    EXPECT_EQ(code.Capacity(), 1024);
    EXPECT_EQ(code.Size(), 0);
    for (int i = 0; i < 1024; ++i)
        code.EmitByte(static_cast<std::uint8_t>(i * 7));
    EXPECT_EQ(code.Capacity(), 1024);
    code.EmitByte(0xAB);
    EXPECT_EQ(code.Capacity(), 2048);
    ASSERT_EQ(code.Size(), 1025);
    for (int i = 0; i < 1024; ++i)
        ASSERT_EQ(code.Buffer()[i], static_cast<std::uint8_t>(i * 7)) << i;
    EXPECT_EQ(code.Buffer()[1024], 0xAB);

    code.Clear();  // new code reuses the buffer; it never shrinks
    EXPECT_EQ(code.Size(), 0);
    EXPECT_EQ(code.Capacity(), 2048);
}

TEST(CodeBuffer, DwordGrowsOnlyWhenItWouldNotFit)
{
    TCode fits, grows;
    for (int i = 0; i < 1020; ++i)
        fits.EmitByte(0);
    fits.EmitDword(1);
    EXPECT_EQ(fits.Capacity(), 1024);
    EXPECT_EQ(fits.Size(), 1024);

    for (int i = 0; i < 1021; ++i)
        grows.EmitByte(0);
    grows.EmitDword(0x01020304);
    EXPECT_EQ(grows.Capacity(), 2048);
    EXPECT_EQ(grows.Size(), 1025);
    EXPECT_EQ(grows.Buffer()[1021], 0x04);
    EXPECT_EQ(grows.Buffer()[1024], 0x01);
}

TEST(CodeBuffer, WordsHighByteFirstDwordsLowByteFirst)
{
    TCode code;
    code.EmitWord(0xD9EB);
    code.EmitDword(0x12345678);
    EXPECT_EQ(Bytes(code), (std::vector<std::uint8_t>{0xD9, 0xEB, 0x78, 0x56, 0x34, 0x12}));
}

TEST(CodeBuffer, FindPatternGivesTheLowestOffset)
{
    TCode code;
    Emit(code, {1, 2, 3, 1, 2, 3});
    const std::uint8_t twoThree[] = {2, 3};
    const std::uint8_t missing[] = {3, 2};
    const std::uint8_t tooLong[] = {1, 2, 3, 1, 2, 3, 1};
    EXPECT_EQ(code.FindPattern(twoThree), 1);
    EXPECT_EQ(code.FindPattern(missing), -1);
    EXPECT_EQ(code.FindPattern(tooLong), -1);
}

TEST(CodeBuffer, RemovePatternDeletesEveryOccurrenceAndThoseItBringsTogether)
{
    struct Case {
        const char* Name;
        std::vector<std::uint8_t> Code, Expected;
    };
    std::vector<std::uint8_t> two = {0xC3};
    two.insert(two.end(), PushPop.begin(), PushPop.end());
    two.push_back(0x90);
    two.insert(two.end(), PushPop.begin(), PushPop.end());
    // A pattern split by another occurrence: removing the inner one joins the outer.
    std::vector<std::uint8_t> nested(PushPop.begin(), PushPop.begin() + 5);
    nested.insert(nested.end(), PushPop.begin(), PushPop.end());
    nested.insert(nested.end(), PushPop.begin() + 5, PushPop.end());
    nested.push_back(0xC3);
    const Case cases[] = {
        {"two occurrences", two, {0xC3, 0x90}},
        {"none", {0xDD, 0x04, 0x24, 0xC3}, {0xDD, 0x04, 0x24, 0xC3}},
        {"nested", nested, {0xC3}},
        {"only the pattern", PushPop, {}},
    };
    for (const Case& c : cases) {
        TCode code;
        Emit(code, c.Code);
        code.RemovePattern(PushPop);
        EXPECT_EQ(Bytes(code), c.Expected) << c.Name;
    }
}

TEST(CodeBuffer, OnePassRemovalEqualsRemovalRestartingFromZero)
{
    // Random code made of pattern pieces, whole patterns and other bytes.
    std::mt19937 random(20261209);
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::uint8_t> bytes;
        const int pieces = static_cast<int>(random() % 12);
        for (int p = 0; p < pieces; ++p) {
            switch (random() % 4) {
            case 0: bytes.insert(bytes.end(), PushPop.begin(), PushPop.end()); break;
            case 1: bytes.insert(bytes.end(), PushPop.begin(), PushPop.begin() + 1 + random() % 11); break;
            case 2: bytes.insert(bytes.end(), PushPop.begin() + random() % 12, PushPop.end()); break;
            default: bytes.push_back(static_cast<std::uint8_t>(random())); break;
            }
        }
        TCode code;
        Emit(code, bytes);
        code.RemovePattern(PushPop);
        ASSERT_EQ(Bytes(code), RemoveRestartingFromZero(bytes, PushPop)) << "round " << round;
    }
}

// Neither the view code is written through nor the one it runs from is ever
// writable and executable at once, at any moment of a compile's life.
void ExpectWXor(const TCode& code, const char* when)
{
    for (const std::uint8_t* view : {code.WriteView(), code.Buffer()}) {
        const std::string permissions = Permissions(view);
        ASSERT_EQ(permissions.size(), 4u) << when;
        EXPECT_FALSE(permissions[1] == 'w' && permissions[2] == 'x') << when << ": " << permissions;
    }
}

long double RunCode(const TCode& code)
{
    return reinterpret_cast<long double (*)()>(const_cast<std::uint8_t*>(code.Buffer()))();
}

TEST(CodeBuffer, CodeIsNeverWritableAndExecutableAtOnce)
{
    const std::uint8_t fld1[] = {0xD9, 0xE8, 0xC3};  // FLD1; RET
    const std::uint8_t fldz[] = {0xD9, 0xEE, 0xC3};  // FLDZ; RET
    TCode code;
    ExpectWXor(code, "new");
    code.EmitBytes(fld1);
    ExpectWXor(code, "written");
    code.MakeExecutable();
    ExpectWXor(code, "sealed");
    EXPECT_TRUE(code.Executable());
    EXPECT_EQ(Permissions(code.Buffer()).substr(0, 3), "r-x");
    EXPECT_EQ(RunCode(code), 1.0L);

    // New code over the old (a new compile), and code grown past its first
    // pages: what runs is what was written last.
    code.Clear();
    code.EmitBytes(fldz);
    ExpectWXor(code, "rewritten");
    code.MakeExecutable();
    EXPECT_EQ(RunCode(code), 0.0L);
    code.Clear();
    for (int i = 0; i < 3 * TCode::CodeGrowth; ++i)
        code.EmitByte(0x90);  // NOP
    code.EmitBytes(fld1);
    code.MakeExecutable();
    ExpectWXor(code, "grown");
    EXPECT_EQ(RunCode(code), 1.0L);
}

TEST(CodeBuffer, DualMemoryNeedsNoProtectionChange)
{
    TExecutableMemory memory(1024);
    if (!memory.Dual())
        GTEST_SKIP() << "this system refuses executable memory files; the single view is toggled";
    EXPECT_NE(static_cast<const void*>(memory.Data()), static_cast<const void*>(memory.Code()));
    EXPECT_EQ(Permissions(memory.Data()).substr(0, 3), "rw-");
    EXPECT_EQ(Permissions(memory.Code()).substr(0, 3), "r-x");
    memory.Data()[100] = 0x5A;  // seen at once through the other view
    EXPECT_EQ(memory.Code()[100], 0x5A);
    memory.Resize(3 * memory.Size());
    EXPECT_EQ(memory.Code()[100], 0x5A);
    EXPECT_EQ(Permissions(memory.Data() + memory.Size() - 1).substr(0, 3), "rw-");
    EXPECT_EQ(Permissions(memory.Code() + memory.Size() - 1).substr(0, 3), "r-x");
}

TEST(CodeBuffer, ASingleViewIsSealedAndUnsealed)
{
    // The fallback where the system refuses executable memory files.
    TExecutableMemory memory(1024, TExecutableMemory::TMapping::Single);
    ASSERT_FALSE(memory.Dual());
    EXPECT_EQ(static_cast<const void*>(memory.Data()), static_cast<const void*>(memory.Code()));
    EXPECT_TRUE(memory.Writable());
    EXPECT_FALSE(memory.Executable());
    EXPECT_EQ(Permissions(memory.Code()).substr(0, 3), "rw-");
    const std::uint8_t fld1[] = {0xD9, 0xE8, 0xC3};  // FLD1; RET
    std::copy(std::begin(fld1), std::end(fld1), memory.Data());
    memory.MakeExecutable();
    EXPECT_FALSE(memory.Writable());
    EXPECT_EQ(Permissions(memory.Code()).substr(0, 3), "r-x");
    EXPECT_EQ(reinterpret_cast<long double (*)()>(const_cast<std::uint8_t*>(memory.Code()))(), 1.0L);
    memory.Resize(5 * memory.Size());  // keeps bytes and protection
    EXPECT_EQ(memory.Code()[1], 0xE8);
    EXPECT_EQ(Permissions(memory.Code() + memory.Size() - 1).substr(0, 3), "r-x");
    memory.MakeWritable();
    EXPECT_EQ(Permissions(memory.Code()).substr(0, 3), "rw-");
}

TEST(CodeBuffer, LargeCodeGrowsWithoutLosingBytes)
{
    TCode code;
    const int size = 3 * 1024 * 1024 + 17;
    for (int i = 0; i < size; ++i)
        code.EmitByte(static_cast<std::uint8_t>(i % 251));
    ASSERT_EQ(code.Size(), size);
    EXPECT_EQ(code.Capacity() % 1024, 0);
    EXPECT_GE(code.Capacity(), size);
    EXPECT_LT(code.Capacity(), size + 1024);
    for (int i = 0; i < size; i += 4099)
        ASSERT_EQ(code.Buffer()[i], i % 251) << i;
}

namespace {

// In a process with 64 MiB of address space left, grows a code buffer until
// the system refuses. Exit code 0: EOutOfMemory was raised; 2: the limit does
// not hold here (an emulator may ignore it).
[[noreturn]] void GrowUntilRefused()
{
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t left = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + (64u << 20);
    const rlimit limit{left, left};
    setrlimit(RLIMIT_AS, &limit);
    if (void* probe = std::malloc(256u << 20)) {
        std::free(probe);
        std::_Exit(2);
    }
    TCode code;
    try {
        for (long i = 0; i < (1L << 30); ++i)
            code.EmitByte(0x90);
    } catch (const EOutOfMemory&) {
        std::_Exit(0);
    }
    std::_Exit(1);
}

bool RefusedCleanly(int status)
{
    return WIFEXITED(status) && (WEXITSTATUS(status) == 0 || WEXITSTATUS(status) == 2);
}

} // namespace

TEST(CodeBufferDeathTest, RunningOutOfMemoryIsAnErrorNotACrash)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer's shadow memory leaves no address-space limit to set";
#endif
    EXPECT_EXIT(GrowUntilRefused(), RefusedCleanly, "");
}
