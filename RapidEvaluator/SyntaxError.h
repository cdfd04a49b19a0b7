// ESyntaxError: what Compile raises for a formula that does not compile.
#pragma once

#include "numeric/Exceptions.h"

#include <string>

// A formula that does not compile; the message is one of the compile errors.
// Name is the name whose use failed (an unknown name, a function not followed
// by its parenthesis), empty for any other error.
class ESyntaxError : public Exception {
public:
    explicit ESyntaxError(std::string message, std::string name = {})
        : Exception(std::move(message)), Name_(std::move(name)) {}
    const std::string& Name() const noexcept { return Name_; }

private:
    std::string Name_;
};
