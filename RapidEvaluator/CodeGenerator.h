// Translation of a postfix command list into one straight-line x87 routine:
// the walk over the list that every translation shares, and the item-by-item
// translation.
#pragma once

#include "RapidEvaluator/CommandList.h"
#include "RapidEvaluator/InstructionSet.h"
#include "numeric/Exceptions.h"

#include <cstdint>
#include <span>

class TCode;

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
    static bool ConsumedAtOnce(const TCommandList& list, int next)
    {
        if (next >= list.Count())
            return false;
        const TStackItem& item = list[next];
        return item.Kind == skOperator || (item.Kind == skFunction && item.ArgCount >= 1);
    }

    // The list and the code of the run in progress.
    const TCommandList& List() const { return *List_; }
    TCode& Code() const { return *Code_; }

    // The walk, for the translation `t`: the generator itself, whose steps it
    // calls directly rather than through a virtual call per item. It calls, with each item's index in List():
    // t.Constant(value, i), t.Variable(address, i), t.Operator(instructions, i)
    // (instructions: the x87 code of InstructionSet.h), t.Power(i),
    // t.Function(instructions, argCount, i), and at the end t.Finish(). A
    // translation may take several items as one step that consumes the value
    // before them and leaves one: t.FusedItems(i) says how many (0: none) and
    // t.Fuse(i) writes the step.
    template <class TTranslation>
    void Walk(TTranslation& t);

    // No items are fused unless the translation says otherwise.
    int FusedItems(int /*index*/) const { return 0; }
    void Fuse(int /*index*/) {}

private:
    // Resets the translation's state and walks List() with it.
    virtual void Translate() = 0;

    const TCommandList* List_ = nullptr;
    TCode* Code_ = nullptr;
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
    friend class TCodeGenerator;  // the walk calls the steps

    void Translate() override;
    void Constant(double value, int index);
    void Variable(std::uintptr_t address, int index);
    void Operator(std::span<const std::uint8_t> instructions, int index);
    void Power(int index);
    void Function(std::span<const std::uint8_t> instructions, int argCount, int index);
    void Finish();

    void PopOperands(int count);
    void Push();
    void Pop();

    const TEncoding& Encoding;
    std::uintptr_t PowerRoutine;
    bool ResultInST0 = false;
    int StackDepth = 0;  // 8-byte values on the machine stack, for the alignment of calls
};

// The walk also counts the values the postfix program has produced, so that a
// malformed list is refused instead of generating code that corrupts the stack.
template <class TTranslation>
void TCodeGenerator::Walk(TTranslation& t)
{
    const TCommandList& list = List();
    int values = 0;
    // An item consumes `operands` values of the postfix program and produces one.
    const auto count = [&values](int operands) {
        if (values < operands)
            throw Exception("The command list uses a value it has not produced");
        values += 1 - operands;
    };
    for (int i = 0; i < list.Count(); ++i) {
        if (const int items = t.FusedItems(i)) {
            count(1);
            t.Fuse(i);
            i += items - 1;
            continue;
        }
        const TStackItem& item = list[i];
        switch (item.Kind) {
        case skConstant:
            count(0);
            t.Constant(item.Value, i);
            break;
        case skVariable:
            count(0);
            t.Variable(item.Address, i);
            break;
        case skOperator: {
            const auto instructions = OperatorInstructions(item.Operator);
            if (item.Operator != opPower && instructions.empty())
                throw Exception("OPERATION NOT SUPPORTED");
            count(2);
            if (item.Operator == opPower)
                t.Power(i);
            else
                t.Operator(instructions, i);
            break;
        }
        case skFunction: {
            const auto instructions = FunctionInstructions(static_cast<std::int32_t>(item.Address));
            if (instructions.empty())
                throw Exception("UNSUPPORTED FUNCTION");
            count(item.ArgCount);
            t.Function(instructions, item.ArgCount, i);
            break;
        }
        default:
            throw Exception("The command list holds an item of unknown kind");
        }
    }
    if (values != 1)
        throw Exception("The command list does not leave exactly one value");
    t.Finish();
}

// TItemByItemGenerator(encoding, powerRoutine).Generate(list, code).
void GenerateCode(const TCommandList& list, TCode& code, const TEncoding& encoding,
                  std::uintptr_t powerRoutine);
