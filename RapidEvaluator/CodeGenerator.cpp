// The code generator: the walk over the command list, and the item-by-item
// translation, in which every value lives on the machine stack between the
// operations that produce and consume it, except a variable consumed by the
// very next item, which stays in ST0; a push immediately followed by a pop is
// deleted afterwards.
#include "RapidEvaluator/CodeGenerator.h"

#include "RapidEvaluator/Code.h"
#include "RapidEvaluator/CommandList.h"
#include "RapidEvaluator/InstructionSet.h"
#include "numeric/Exceptions.h"

// The walk also counts the values the postfix program has produced, so that a
// malformed list is refused instead of generating code that corrupts the stack.
void TCodeGenerator::Generate(const TCommandList& list, TCode& code)
{
    List_ = &list;
    Code_ = &code;
    ValueCount = 0;
    code.Clear();
    Start();
    for (int i = 0; i < list.Count(); ++i) {
        if (const int items = FusedItems(i)) {
            CountItem(1);
            Fuse(i);
            i += items - 1;
            continue;
        }
        const TStackItem& item = list[i];
        switch (item.Kind) {
        case skConstant:
            CountItem(0);
            Constant(item.Value, i);
            break;
        case skVariable:
            CountItem(0);
            Variable(item.Address, i);
            break;
        case skOperator: {
            const auto instructions = OperatorInstructions(item.Operator);
            if (item.Operator != opPower && instructions.empty())
                throw Exception("OPERATION NOT SUPPORTED");
            CountItem(2);
            if (item.Operator == opPower)
                Power(i);
            else
                Operator(instructions, i);
            break;
        }
        case skFunction: {
            const auto instructions = FunctionInstructions(static_cast<std::int32_t>(item.Address));
            if (instructions.empty())
                throw Exception("UNSUPPORTED FUNCTION");
            CountItem(item.ArgCount);
            Function(instructions, item.ArgCount, i);
            break;
        }
        default:
            throw Exception("The command list holds an item of unknown kind");
        }
    }
    if (ValueCount != 1)
        throw Exception("The command list does not leave exactly one value");
    Finish();
}

bool TCodeGenerator::ConsumedAtOnce(const TCommandList& list, int next)
{
    if (next >= list.Count())
        return false;
    const TStackItem& item = list[next];
    return item.Kind == skOperator || (item.Kind == skFunction && item.ArgCount >= 1);
}

void TCodeGenerator::CountItem(int operands)
{
    if (ValueCount < operands)
        throw Exception("The command list uses a value it has not produced");
    ValueCount += 1 - operands;
}

void TItemByItemGenerator::Start()
{
    ResultInST0 = false;
    StackDepth = 0;
}

void TItemByItemGenerator::Constant(double value, int)
{
    Encoding.EmitConstant(Code(), value);
    ++StackDepth;
    ResultInST0 = false;
}

void TItemByItemGenerator::Variable(std::uintptr_t address, int index)
{
    Encoding.EmitVariable(Code(), address);
    ResultInST0 = ConsumedAtOnce(List(), index + 1);
    if (!ResultInST0)
        Push();
}

void TItemByItemGenerator::Operator(std::span<const std::uint8_t> instructions, int)
{
    PopOperands(2);
    Code().EmitBytes(instructions);
    Push();
}

void TItemByItemGenerator::Power(int)
{
    PopOperands(2);
    Encoding.EmitPowerCall(Code(), PowerRoutine, StackDepth);
    Push();
}

void TItemByItemGenerator::Function(std::span<const std::uint8_t> instructions, int argCount, int)
{
    PopOperands(argCount);
    Code().EmitBytes(instructions);
    Push();
}

void TItemByItemGenerator::Finish()
{
    Code().EmitBytes(Encoding.Final);
    Code().RemovePattern(Encoding.PushPopPattern);
}

// Brings the operands into the unit, the last one first, unless it is in ST0
// already; the first operand ends in ST0.
void TItemByItemGenerator::PopOperands(int count)
{
    for (int i = 0; i < count; ++i) {
        if (!ResultInST0)
            Pop();
        ResultInST0 = false;
    }
}

void TItemByItemGenerator::Push()
{
    Code().EmitBytes(Encoding.Push);
    ++StackDepth;
}

void TItemByItemGenerator::Pop()
{
    Code().EmitBytes(Encoding.Pop);
    --StackDepth;
}

void GenerateCode(const TCommandList& list, TCode& code, const TEncoding& encoding,
                  std::uintptr_t powerRoutine)
{
    TItemByItemGenerator(encoding, powerRoutine).Generate(list, code);
}
