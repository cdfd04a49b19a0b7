// The out-of-line raising of the checked integer arithmetic.
#include "numeric/CheckedArithmetic.h"

#include "numeric/Exceptions.h"

void RaiseIntOverflow()
{
    throw EIntOverflow();
}
