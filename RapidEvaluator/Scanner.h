// TScanner: cuts a formula text into tokens for the parser and resolves
// every name against the function and variable tables.
#pragma once

#include "RapidEvaluator/LookupTable.h"

#include <cstdint>
#include <string>

// Kinds of the scanner's tokens.
enum TokenKindCode : std::uint8_t {
    tokNone = 0,
    tokDelimiter = 1,
    tokNumber = 2,
    tokFunction = 3,
    tokVariable = 6,
};

// Delimiter classes (TokenValue of a tokDelimiter token).
enum DelimiterClass : std::uint8_t {
    DelimChar = 1,
    DelimLineBreak = 4,
    DelimEnd = 5,
};

// The scanner keeps the current token and the position of the next
// character. It reads the text and the tables where their owner keeps them,
// so it always scans the text as it stands now.
class TScanner {
public:
    TScanner(const std::string& text, const TLookupTable<TIntFunction>& functions,
             const TLookupTable<TExtPointer>& variables)
        : Text(text), Functions(functions), Variables(variables) {}
    TScanner(const TScanner&) = delete;
    TScanner& operator=(const TScanner&) = delete;

    const std::string& Formula() const { return Text; }

    // 1-based index of the next character to read; past the end of the text
    // once it is all read.
    std::int32_t Position() const { return Position_; }
    // The next NextToken reads from the first character.
    void Restart() { Position_ = 1; }

    // Reads the token at Position and leaves Position just past it. A
    // character of no class gives a tokNone token and Position stays on it.
    void NextToken();
    // Moves Position back over the current token, so that the next
    // NextToken reads it again.
    void RewindToken() { Position_ -= static_cast<std::int32_t>(Token_.size()); }

    // The current token: its characters as typed (empty at the end of the
    // text and for a character of no class), its kind, its value (delimiter
    // class, function code or variable address) and, for a known function,
    // its table entry (kept from an earlier token otherwise).
    const std::string& Token() const { return Token_; }
    std::uint8_t Kind() const { return Kind_; }
    std::uintptr_t Value() const { return Value_; }
    const TIntFunction* Entry() const { return Entry_; }

    // Whether the current token begins with c (an empty token begins with a blank).
    bool TokenIs(char c) const { return !Token_.empty() && Token_[0] == c; }
    bool AtDelimiter(char c) const { return Kind_ == tokDelimiter && TokenIs(c); }
    bool AtEnd() const { return Kind_ == tokDelimiter && Value_ == DelimEnd; }

private:
    const std::string& Text;
    const TLookupTable<TIntFunction>& Functions;
    const TLookupTable<TExtPointer>& Variables;

    std::int32_t Position_ = 0;
    std::string Token_;
    std::uint8_t Kind_ = tokNone;
    std::uintptr_t Value_ = 0;
    const TIntFunction* Entry_ = nullptr;
};
