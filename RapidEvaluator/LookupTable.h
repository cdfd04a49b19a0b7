// Symbol tables of the formula compiler: named entries for built-in functions
// and variables, looked up without regard to letter case.
#pragma once

#include "RapidEvaluator/FunctionCatalogue.h"
#include "numeric/LetterCase.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TLookupItem {
public:
    explicit TLookupItem(std::string name) : Name(std::move(name)) {}
    virtual ~TLookupItem() = default;
    TLookupItem(const TLookupItem&) = delete;
    TLookupItem& operator=(const TLookupItem&) = delete;

    std::string Name;
};

class TAbstractFunction : public TLookupItem {
public:
    TAbstractFunction(std::string name, std::uint8_t paramCount)
        : TLookupItem(std::move(name)), ParamCount(paramCount) {}

    std::uint8_t ParamCount;
};

// A built-in function: its operation code selects the instructions the code
// generator emits for it.
class TIntFunction : public TAbstractFunction {
public:
    static constexpr int MaxParamCount = 5;

    // Raises Exception "Too many parameters. ParamCount must be 5 or less".
    TIntFunction(std::string name, std::int32_t code, int paramCount);

    std::int32_t Code;
};

// A variable: the double it names lives outside the evaluator.
class TExtPointer : public TAbstractFunction {
public:
    TExtPointer(std::string name, double* address, std::uint8_t paramCount = 0)
        : TAbstractFunction(std::move(name), paramCount), Address(address) {}

    double* Address;
};

// An ordered table that owns its entries; entries are only ever appended.
template <class Entry>
class TLookupTable {
public:
    TLookupTable() = default;
    TLookupTable(const TLookupTable&) = delete;
    TLookupTable& operator=(const TLookupTable&) = delete;
    TLookupTable(TLookupTable&&) noexcept = default;
    TLookupTable& operator=(TLookupTable&&) noexcept = default;
    ~TLookupTable() { Clear(); }

    void Add(std::unique_ptr<Entry> entry) { Entries.push_back(std::move(entry)); }
    int Count() const { return static_cast<int>(Entries.size()); }
    Entry& operator[](int index) const { return *Entries[static_cast<std::size_t>(index)]; }

    // The first entry, in insertion order, whose name equals `name` when letter
    // case is ignored; nullptr when there is none.
    Entry* Find(std::string_view name) const
    {
        for (const auto& entry : Entries)
            if (EqualNoCase(entry->Name, name))
                return entry.get();
        return nullptr;
    }

    // Destroys every entry, first to last, then empties the table.
    void Clear()
    {
        for (auto& entry : Entries)
            entry.reset();
        Entries.clear();
    }

private:
    std::vector<std::unique_ptr<Entry>> Entries;
};

// Appends the built-in functions of the catalogue (FunctionCatalogue.h) to
// `functions`, in its order.
void AddBuiltInFunctions(TLookupTable<TIntFunction>& functions);
