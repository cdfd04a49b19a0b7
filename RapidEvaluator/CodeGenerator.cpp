// The code generator: the walk over the command list, and the item-by-item
// translation, in which every value lives on the machine stack between the
// operations that produce and consume it, except a variable consumed by the
// very next item, which stays in ST0; a push immediately followed by a pop is
// deleted afterwards.
#include "RapidEvaluator/CodeGenerator.h"

#include "RapidEvaluator/Code.h"

void TCodeGenerator::Generate(const TCommandList& list, TCode& code)
{
    List_ = &list;
    Code_ = &code;
    code.Clear();
    Translate();
}

void TItemByItemGenerator::Translate()
{
    ResultInST0 = false;
    StackDepth = 0;
    Walk(*this);
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
