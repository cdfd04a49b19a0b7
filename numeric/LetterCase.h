// Letter case of names: the program's names (formula functions and
// variables, INI sections and keys) match without regard to the case of the
// ASCII letters, as the "C" locale folds them; other bytes match only
// themselves.
#pragma once

#include <string>
#include <string_view>

// Whole-name equality when ASCII letter case is ignored.
bool EqualNoCase(std::string_view a, std::string_view b);

// The text with its ASCII letters in upper case.
std::string UpperCase(std::string_view text);
