// The pieces the renderer's usage and messages are written with: quoted
// words, lists in prose, formats' names and lines broken between words.
#pragma once

#include "plot/output/OutputFormat.h"

#include <string>
#include <string_view>
#include <vector>

// Joins two words that a line must not break between.
inline constexpr char NoBreak = '\x1F';

// "'text'".
std::string Quoted(std::string_view text);
// "a, b or c", with `last` before the last item.
std::string Listed(const std::vector<std::string>& items, const char* last);
// "PNG" for the row named "png".
std::string UpperName(const TOutputFormatRow& row);
// `text` broken into lines of at most `width` characters between words,
// each NoBreak then turned into a space.
std::string Wrapped(const std::string& text, std::size_t width);
