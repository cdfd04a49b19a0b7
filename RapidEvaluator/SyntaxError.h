// ESyntaxError: what Compile raises for a formula that does not compile.
#pragma once

#include "numeric/Exceptions.h"

// A formula that does not compile; the message is one of the compile errors.
class ESyntaxError : public Exception {
public:
    using Exception::Exception;
};
