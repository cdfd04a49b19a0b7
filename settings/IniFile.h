// TIniFile: a settings file in the INI format, read and written key by key
// with the semantics of the Windows private-profile services.
#pragma once

#include "numeric/Exceptions.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

// Raised by a write the file system refuses: "Unable to write to " and the
// file's name as the TIniFile was given it.
class EIniWriteError : public Exception {
public:
    explicit EIniWriteError(const std::string& fileName)
        : Exception("Unable to write to " + fileName) {}
};

// A settings file is a few hundred bytes; anything far larger is not one,
// and is neither read nor rewritten. Within it a value is read whole.
inline constexpr std::size_t MaxSettingsFileSize = 16u << 20;

// The text of a settings file held in memory, read and changed key by key.
// Names and values follow IniText.h.
class TIniText {
public:
    explicit TIniText(std::string bytes = {}) : Bytes_(std::move(bytes)) {}

    const std::string& Bytes() const { return Bytes_; }

    // The value, whole; `defaultValue` (without its trailing blanks) when
    // the section or the key is missing. An empty value gives "".
    std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
    // The value read by ParseIniInteger; the default for a missing key or a
    // value that is no 32-bit integer.
    std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t defaultValue) const;
    // An integer read with the default 1 or 0: any value but 0 is true.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

    // Sets the value, adding the section and the key as needed.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    // Decimal, with a minus sign when negative.
    void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
    // "1" or "0".
    void WriteBool(std::string_view section, std::string_view key, bool value);

private:
    std::string Bytes_;
};

// Every call reads the file anew and every update replaces it at once, so
// keys another program adds between two calls are kept and nothing is held
// open. Reading never fails: a file that is missing, is no regular file,
// cannot be read or is too large gives the defaults. Names and values follow
// IniText.h. Two programs writing the same file at the same moment may lose
// one of the two writes, never the file.
class TIniFile {
public:
    explicit TIniFile(std::string fileName) : FileName_(std::move(fileName)) {}

    const std::string& FileName() const { return FileName_; }

    // The file's text as it is now; empty when the file is missing or
    // cannot be read.
    TIniText Read() const;
    // Reads the file once, lets `change` set values in its text and replaces
    // the file once with the result: all of the changes or none of them.
    // EIniWriteError when the file exists but cannot be read (its content
    // would be lost) or cannot be replaced (TFileWriter refuses it, for one
    // because it is write-protected); the old file is then untouched.
    void Update(const std::function<void(TIniText&)>& change);

private:
    std::string FileName_;
};
