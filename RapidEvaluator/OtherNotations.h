// Names that other notations use for what the formula language spells
// otherwise (tan for tg, pi without its parentheses), each with the line that
// tells the user the program's own spelling.
#pragma once

#include <string_view>

// The line that names the program's spelling of `name` ("Orvalis writes the
// tangent as tg(x)."), letter case ignored; empty when `name` is no name of
// another notation the program knows.
std::string_view OtherNotationHint(std::string_view name);
