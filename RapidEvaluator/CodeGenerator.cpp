// The code generator: every value lives on the machine stack between the
// operations that produce and consume it, except a variable consumed by the
// very next item, which stays in ST0; a push immediately followed by a pop is
// deleted afterwards.
#include "RapidEvaluator/CodeGenerator.h"

#include "RapidEvaluator/Code.h"
#include "RapidEvaluator/CommandList.h"
#include "RapidEvaluator/InstructionSet.h"
#include "numeric/Exceptions.h"

namespace {

// Tracks the values the routine keeps on the machine stack (for the stack
// alignment of calls) and the values the postfix program has produced (so that
// a malformed list is refused instead of generating code that corrupts the stack).
class TGenerator {
public:
    TGenerator(TCode& code, const TEncoding& encoding, std::uintptr_t powerRoutine)
        : Code(code), Encoding(encoding), PowerRoutine(powerRoutine) {}

    void Constant(double value)
    {
        Encoding.EmitConstant(Code, value);
        ++StackDepth;
        Produce(0);
        ResultInST0 = false;
    }

    void Variable(std::uintptr_t address, bool consumedAtOnce)
    {
        Encoding.EmitVariable(Code, address);
        ResultInST0 = consumedAtOnce;
        if (!ResultInST0)
            Push();
        Produce(0);
    }

    void Operator(std::uint8_t op)
    {
        const auto instructions = OperatorInstructions(op);
        if (op != opPower && instructions.empty())
            throw Exception("OPERATION NOT SUPPORTED");
        Produce(2);
        if (!ResultInST0)
            Pop();  // right operand
        ResultInST0 = false;
        Pop();      // left operand
        if (op == opPower)
            Encoding.EmitPowerCall(Code, PowerRoutine, StackDepth);
        else
            Code.EmitBytes(instructions);
        Push();
    }

    void Function(std::int32_t function, int argCount)
    {
        const auto instructions = FunctionInstructions(function);
        if (instructions.empty())
            throw Exception("UNSUPPORTED FUNCTION");
        Produce(argCount);
        for (int i = 0; i < argCount; ++i) {
            if (!ResultInST0)
                Pop();
            ResultInST0 = false;
        }
        Code.EmitBytes(instructions);
        Push();
    }

    void Finish()
    {
        if (Values != 1)
            throw Exception("The command list does not leave exactly one value");
        Code.EmitBytes(Encoding.Final);
        Code.RemovePattern(Encoding.PushPopPattern);
    }

private:
    void Push()
    {
        Code.EmitBytes(Encoding.Push);
        ++StackDepth;
    }

    void Pop()
    {
        Code.EmitBytes(Encoding.Pop);
        --StackDepth;
    }

    // An item consumes `operands` values of the postfix program and produces one.
    void Produce(int operands)
    {
        if (Values < operands)
            throw Exception("The command list uses a value it has not produced");
        Values += 1 - operands;
    }

    TCode& Code;
    const TEncoding& Encoding;
    std::uintptr_t PowerRoutine;
    bool ResultInST0 = false;
    int StackDepth = 0;
    int Values = 0;
};

// A variable stays in ST0 when the next item consumes it at once.
bool ConsumedAtOnce(const TCommandList& list, int index)
{
    if (index + 1 >= list.Count())
        return false;
    const TStackItem& next = list[index + 1];
    return next.Kind == skOperator || (next.Kind == skFunction && next.ArgCount >= 1);
}

} // namespace

void GenerateCode(const TCommandList& list, TCode& code, const TEncoding& encoding,
                  std::uintptr_t powerRoutine)
{
    code.Clear();
    TGenerator generator(code, encoding, powerRoutine);
    for (int i = 0; i < list.Count(); ++i) {
        const TStackItem& item = list[i];
        switch (item.Kind) {
        case skConstant:
            generator.Constant(item.Value);
            break;
        case skVariable:
            generator.Variable(item.Address, ConsumedAtOnce(list, i));
            break;
        case skOperator:
            generator.Operator(item.Operator);
            break;
        case skFunction:
            generator.Function(static_cast<std::int32_t>(item.Address), item.ArgCount);
            break;
        default:
            throw Exception("The command list holds an item of unknown kind");
        }
    }
    generator.Finish();
}
