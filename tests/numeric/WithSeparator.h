// Runs a test body with another decimal separator and restores the old one.
#pragma once

#include "numeric/NumberText.h"

class WithSeparator {
public:
    explicit WithSeparator(char separator) : Saved(DecimalSeparator) { DecimalSeparator = separator; }
    ~WithSeparator() { DecimalSeparator = Saved; }
    WithSeparator(const WithSeparator&) = delete;
    WithSeparator& operator=(const WithSeparator&) = delete;

private:
    char Saved;
};
