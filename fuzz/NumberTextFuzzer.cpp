// Fuzz target: TextToNumber on arbitrary text, FormatGeneral and Format on
// arbitrary values (every encoding of the extended format), and the reading
// back of what FormatGeneral writes.
#include "numeric/FloatingPoint.h"
#include "numeric/NumberText.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

[[noreturn]] void Report(const char* finding, const std::string& text, const char* details = "")
{
    std::fprintf(stderr, "\n==== FUZZ FINDING: %s\n==== text: \"%.300s\"\n==== %s\n", finding, text.c_str(), details);
    std::abort();
}

// The unit as the program keeps it: faults masked, no fault flag set.
void CheckUnit(const char* routine, const std::string& text)
{
    if (FpuStatusWord() & StatusFaults)
        Report(routine, text, "left a fault flag set");
    if (FpuControlWord() != MaskedControlWord)
        Report(routine, text, "left another control word in force");
}

void CheckReading(const std::string& text)
{
    try {
        const long double value = TextToNumber(text);
        (void)value;
    } catch (const EConvertError&) {
    }
    CheckUnit("TextToNumber", text);
}

long double ValueFromBits(FuzzedDataProvider& data)
{
    unsigned char bytes[10] = {};
    data.ConsumeData(bytes, sizeof bytes);
    long double value = 0;
    std::memcpy(&value, bytes, sizeof bytes);
    return value;
}

// A value rounded to `precision` digits and read back lies within one unit of
// its last digit (the digits pass through an 18-digit string and half-up
// rounding, so not always the nearest), and writing it again gives the text.
void CheckRoundTrip(long double value, int precision)
{
    const std::string text = FormatGeneral(value, precision);
    CheckUnit("FormatGeneral", text);
    if (text == "NAN" || text == "INF" || text == "-INF")
        return;
    const long double magnitude = std::fabs(value);
    if (!(magnitude >= 1e-4900L && magnitude <= 1e4900L))
        return;  // near the ends of the range the reading itself rounds coarsely
    long double back = 0;
    try {
        back = TextToNumber(text);
    } catch (const EConvertError&) {
        Report("a text written by FormatGeneral is no number", text);
    }
    CheckUnit("TextToNumber", text);
    const int digits = std::clamp(precision, 2, 18);
    const long double unit = std::pow(10.0L, 1 - digits);
    char details[160];
    std::snprintf(details, sizeof details, "value %.21Lg, precision %d, read back %.21Lg", value, precision, back);
    if (std::fabs(back - value) > unit * magnitude)
        Report("a formatted value reads back farther than one unit of its last digit", text, details);
    if (digits <= 15 && FormatGeneral(back, precision) != text)
        Report("a formatted value read back is written differently", text, details);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ResetFpu();
    FuzzedDataProvider provider(data, size);
    switch (provider.ConsumeIntegralInRange(0, 3)) {
    case 0:
        CheckReading(provider.ConsumeRemainingBytesAsString());
        break;
    case 1: {
        const int precision = provider.ConsumeIntegralInRange(-5, 25);
        CheckRoundTrip(ValueFromBits(provider), precision);
        break;
    }
    case 2: {
        const int precision = provider.ConsumeIntegralInRange(2, 18);
        CheckRoundTrip(provider.ConsumeFloatingPoint<double>(), precision);
        break;
    }
    default: {
        const long double a = ValueFromBits(provider), b = ValueFromBits(provider);
        const std::string format = provider.ConsumeRemainingBytesAsString();
        const std::string text = Format(format, {a, b});
        CheckUnit("Format", format);
        if (text.size() > format.size() + 2 * 9999 + 64)
            Report("Format wrote more than its widths allow", format);
        break;
    }
    }
    return 0;
}
