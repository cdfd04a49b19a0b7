// The error classes of Orvalis: one general exception that carries a message,
// and the classes derived from it for floating-point and integer faults.
#pragma once

#include <exception>
#include <string>

// The general exception class: every error of the program derives from it.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : Message_(std::move(message)) {}
    const char* what() const noexcept override { return Message_.c_str(); }
    const std::string& Message() const noexcept { return Message_; }

private:
    std::string Message_;
};

// Faults detected by the processor (or checked where the processor would fault).
class EExternal : public Exception {
public:
    using Exception::Exception;
};

class EMathError : public EExternal {
public:
    using EExternal::EExternal;
};

class EInvalidOp : public EMathError {
public:
    EInvalidOp() : EMathError("Invalid floating point operation") {}
};

class EZeroDivide : public EMathError {
public:
    EZeroDivide() : EMathError("Floating point division by zero") {}
};

class EOverflow : public EMathError {
public:
    EOverflow() : EMathError("Floating point overflow") {}
};

class EIntError : public EExternal {
public:
    using EExternal::EExternal;
};

class EIntOverflow : public EIntError {
public:
    EIntOverflow() : EIntError("Integer overflow") {}
};

// Running out of memory, including memory for generated code.
class EOutOfMemory : public Exception {
public:
    EOutOfMemory() : Exception("Out of memory") {}
};

// An error's message as the user reads it: with a closing period, unless it
// is empty or already ends in one of the characters up to "." (a period, a
// comma, a blank...).
inline std::string ErrorSentence(std::string message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        message += '.';
    return message;
}
