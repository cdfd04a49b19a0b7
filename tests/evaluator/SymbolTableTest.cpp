// Symbol tables: lookup without regard to case, ownership, the catalogue of
// built-in functions and the registration of variables.
#include "RapidEvaluator/LookupTable.h"
#include "RapidEvaluator/RapidEvaluator.h"

#include <gtest/gtest.h>

#include <functional>
#include <iterator>

namespace {

TLookupTable<TIntFunction> Catalogue()
{
    TLookupTable<TIntFunction> functions;
    AddBuiltInFunctions(functions);
    return functions;
}

std::string MessageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Exception& error) {
        return error.what();
    }
    return "(nothing raised)";
}

} // namespace

TEST(SymbolTable, CatalogueHoldsTheFunctionsInOrderWithTheirCodes)
{
    struct Entry {
        const char* Name;
        int ParamCount, Code;
    };
    const Entry expected[] = {
        {"SIN", 1, 200},    {"COS", 1, 201},    {"TG", 1, 202},    {"CTG", 1, 203},   {"SEC", 1, 204},
        {"COSEC", 1, 205},  {"ARCSIN", 1, 207}, {"ARCCOS", 1, 208}, {"ARCTG", 1, 206}, {"EXP", 1, 224},
        {"SQRT", 1, 217},   {"LN", 1, 214},     {"LOG10", 1, 215}, {"LOG2", 1, 216},  {"NEG", 1, 199},
        {"ABS", 1, 209},    {"PI", 0, 222},     {"SUM", 2, 225},
    };
    const auto functions = Catalogue();
    ASSERT_EQ(functions.Count(), static_cast<int>(std::size(expected)));
    for (int i = 0; i < functions.Count(); ++i) {
        EXPECT_EQ(functions[i].Name, expected[i].Name);
        EXPECT_EQ(functions[i].ParamCount, expected[i].ParamCount) << expected[i].Name;
        EXPECT_EQ(functions[i].Code, expected[i].Code) << expected[i].Name;
    }
}

TEST(SymbolTable, FindIgnoresCaseButMatchesWholeNames)
{
    const auto functions = Catalogue();
    const TIntFunction* sin = functions.Find("SIN");
    ASSERT_NE(sin, nullptr);
    EXPECT_EQ(functions.Find("sin"), sin);
    EXPECT_EQ(functions.Find("Sin"), sin);
    for (const char* name : {"LOG", "SI", "SINH", "", "SIN "})
        EXPECT_EQ(functions.Find(name), nullptr) << '"' << name << '"';
    EXPECT_EQ(TLookupTable<TIntFunction>().Find("SIN"), nullptr);
}

TEST(SymbolTable, FunctionsTakeAtMostFiveParameters)
{
    EXPECT_EQ(TIntFunction("F5", 300, 5).ParamCount, 5);
    EXPECT_EQ(MessageOf([] { TIntFunction("F6", 300, 6); }),
              "Too many parameters. ParamCount must be 5 or less");
}

namespace {

int Destroyed = 0;
struct TCountedItem : TLookupItem {
    using TLookupItem::TLookupItem;
    ~TCountedItem() override { ++Destroyed; }
};

} // namespace

TEST(SymbolTable, OwnsItsEntriesAndDestroysEachOnce)
{
    Destroyed = 0;
    {
        TLookupTable<TCountedItem> table;
        for (const char* name : {"A", "B", "C"})
            table.Add(std::make_unique<TCountedItem>(name));
        table.Clear();
        EXPECT_EQ(Destroyed, 3);
        EXPECT_EQ(table.Count(), 0);
        table.Add(std::make_unique<TCountedItem>("D"));
    }
    EXPECT_EQ(Destroyed, 4);
}

TEST(SymbolTable, VariablesAreRegisteredOnceAndNeverShadowAFunction)
{
    TRapidEvaluator evaluator;
    double w = 0;
    EXPECT_EQ(MessageOf([&] { evaluator.AddVariable("X", &w); }), "Variable \"X\" already exists");
    EXPECT_EQ(MessageOf([&] { evaluator.AddVariable("Sin", &w); }), "Internal function \"Sin\" already exists");
    EXPECT_EQ(MessageOf([&] { evaluator.AddVariable("w", &w); }), "(nothing raised)");
    EXPECT_EQ(MessageOf([&] { evaluator.AddVariable("W", &w); }), "Variable \"W\" already exists");

    // The new variable is read through its address, like x, y and z.
    evaluator.SetFormula("w*2");
    evaluator.Compile();
    w = 21;
    EXPECT_EQ(evaluator.Evaluate(), 42.0);
}
