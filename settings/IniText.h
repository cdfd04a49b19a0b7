// The INI text itself: finding a value and setting one in the bytes of a
// settings file, with the rules of the Windows private-profile services.
//
// The rules, where the file format leaves room:
// - A line is split at LF; a CR before the LF, and blanks (space, tab, CR,
//   VT, FF and the old end-of-file mark Ctrl-Z) at either end of a line, a
//   name or a value, do not count, nor does a UTF-8 byte order mark at the
//   start of the file.
// - A line whose first non-blank character is "[" and which holds a "]"
//   starts a section; its name is what lies between "[" and the last "]",
//   trimmed. Anything after that "]" is ignored.
// - A line whose first non-blank character is ";" is a comment. A blank
//   line, a comment and any line without "=" belong to no key and are kept
//   as they are.
// - Otherwise the line is a key: the name before the first "=", the value
//   after it. Keys before the first section belong to no section.
// - Section and key names are compared without regard to ASCII letter case.
// - Only the first section of a name counts, and in it only the first key of
//   a name: later duplicates are kept in the file but never read or written.
// - A value enclosed in a matching pair of quotes (" or ') is read without
//   them. A value ends at a NUL byte, if it holds one (before trimming).
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The value of `key` in `section` as it stands in the file (trimmed, quotes
// removed), or nothing when there is no such section or key.
std::optional<std::string_view> FindIniValue(std::string_view text, std::string_view section,
                                             std::string_view key);

// The text with `key` in `section` set to `value`. Every other byte of the
// file is kept. An existing key line is replaced by name "=" value, the name
// spelt as the file had it; a new key goes after the last non-blank line of
// its section; a new section goes at the end of the file. Lines written here
// end with LF.
//
// The names are the program's own: not empty, without blanks at their ends,
// line breaks, "=" or "]". A value is written up to its first CR, LF or NUL,
// since anything after would be read as lines of their own.
std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value);
