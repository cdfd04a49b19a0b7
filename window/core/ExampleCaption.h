// The reading of an Examples menu caption: "y = x^2" or
// "R = abs(sin(x*(2+z)))/(x+100),z=0.958" describe an example entirely.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The caption with " = " made "=", split into comma-separated items: blanks
// and control characters separate items too, a double-quoted item may hold
// them, and two double quotes inside it stand for one.
std::vector<std::string> ExampleItems(std::string_view caption);

// The value of the first item named `name` (the text before its first "=",
// letter case ignored): the text after that "=". Empty when none matches.
std::string ExampleValue(const std::vector<std::string>& items, std::string_view name);
