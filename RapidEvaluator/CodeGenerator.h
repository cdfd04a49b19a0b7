// Translation of a postfix command list into one straight-line x87 routine:
// the walk over the list that every translation shares, and the item-by-item
// translation.
#pragma once

#include <cstdint>
#include <span>

class TCode;
class TCommandList;
struct TEncoding;

// A code generator. Generate walks the list once, from the first item to the
// last, refusing what no translation can take (an operator or function code
// in no table, an item of unknown kind, a list that uses a value it has not
// produced or does not leave exactly one value), and hands each item to the
// translation, which writes its code.
class TCodeGenerator {
public:
    virtual ~TCodeGenerator() = default;

    // Writes into `code` (from offset 0) a routine that, called without
    // arguments on an empty x87 register stack, returns the list's value in
    // ST0 and leaves the machine stack as it found it. Raises Exception.
    void Generate(const TCommandList& list, TCode& code);

protected:
    // Whether the item at `next` takes the value left before it straight
    // from ST0: an operator, or a function with arguments. Every other value
    // goes to the machine stack, and is rounded to a double there.
    static bool ConsumedAtOnce(const TCommandList& list, int next);

    // The list and the code of the run in progress.
    const TCommandList& List() const { return *List_; }
    TCode& Code() const { return *Code_; }

private:
    // The translation, called by Generate: Start, then one call per item (or
    // per fused step) with its index in List(), then Finish. `instructions`
    // are the x87 code of the operator or function (InstructionSet.h).
    virtual void Start() {}
    // A translation may take several items as one step that consumes the value
    // before them and leaves one: FusedItems says how many (0: none), Fuse
    // writes the step.
    virtual int FusedItems(int /*index*/) const { return 0; }
    virtual void Fuse(int /*index*/) {}
    virtual void Constant(double value, int index) = 0;
    virtual void Variable(std::uintptr_t address, int index) = 0;
    virtual void Operator(std::span<const std::uint8_t> instructions, int index) = 0;
    virtual void Power(int index) = 0;
    virtual void Function(std::span<const std::uint8_t> instructions, int argCount, int index) = 0;
    virtual void Finish() = 0;

    // An item consumes `operands` values of the postfix program and produces one.
    void CountItem(int operands);

    const TCommandList* List_ = nullptr;
    TCode* Code_ = nullptr;
    int ValueCount = 0;  // values of the postfix program so far
};

// The item-by-item translation: every value lives on the machine stack
// between the item that produces it and the one that consumes it, except a
// variable consumed at once, which stays in ST0; a push immediately followed
// by a pop is deleted afterwards. `encoding` is IA-32 or x86-64; `powerRoutine`
// is the address the ^ operator calls.
class TItemByItemGenerator final : public TCodeGenerator {
public:
    TItemByItemGenerator(const TEncoding& encoding, std::uintptr_t powerRoutine)
        : Encoding(encoding), PowerRoutine(powerRoutine) {}

private:
    void Start() override;
    void Constant(double value, int index) override;
    void Variable(std::uintptr_t address, int index) override;
    void Operator(std::span<const std::uint8_t> instructions, int index) override;
    void Power(int index) override;
    void Function(std::span<const std::uint8_t> instructions, int argCount, int index) override;
    void Finish() override;

    void PopOperands(int count);
    void Push();
    void Pop();

    const TEncoding& Encoding;
    std::uintptr_t PowerRoutine;
    bool ResultInST0 = false;
    int StackDepth = 0;  // 8-byte values on the machine stack, for the alignment of calls
};

// TItemByItemGenerator(encoding, powerRoutine).Generate(list, code).
void GenerateCode(const TCommandList& list, TCode& code, const TEncoding& encoding,
                  std::uintptr_t powerRoutine);
