// The names of other notations, one row each beside the function catalogue:
// every spelling a row points to is a built-in function of the catalogue.
#include "RapidEvaluator/OtherNotations.h"

#include "numeric/LetterCase.h"

namespace {

struct TOtherNotation {
    std::string_view Name;
    std::string_view Hint;
};

constexpr TOtherNotation OtherNotations[] = {
    {"tan", "Orvalis writes the tangent as tg(x)."},
    {"cot", "Orvalis writes the cotangent as ctg(x)."},
    {"cotan", "Orvalis writes the cotangent as ctg(x)."},
    {"csc", "Orvalis writes the cosecant as cosec(x)."},
    {"arctan", "Orvalis writes the arctangent as arctg(x)."},
    {"atan", "Orvalis writes the arctangent as arctg(x)."},
    {"asin", "Orvalis writes the arcsine as arcsin(x)."},
    {"acos", "Orvalis writes the arccosine as arccos(x)."},
    {"log", "Orvalis writes the common logarithm as log10(x) and the natural logarithm as ln(x)."},
    {"lg", "Orvalis writes the common logarithm as log10(x)."},
    {"pi", "Orvalis writes the number pi as pi()."},
    {"e", "Orvalis writes the number e as exp(1)."},
};

} // namespace

std::string_view OtherNotationHint(std::string_view name)
{
    for (const TOtherNotation& row : OtherNotations)
        if (EqualNoCase(row.Name, name))
            return row.Hint;
    return {};
}
