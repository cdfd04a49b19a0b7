// The general number form, its reading, the format strings and the locale's
// decimal separator.
#include "numeric/NumberText.h"

#include "numeric/FloatingPoint.h"
#include "numeric/PowerOfTen.h"

#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

char DecimalSeparator = '.';

namespace {

constexpr int MinPrecision = 2;
constexpr int MaxPrecision = 18;
constexpr int FormatDefaultPrecision = 15;
// Every number is first turned into this many decimal digits, then rounded.
constexpr int StringDigits = 18;
constexpr std::int64_t TenTo17 = 100000000000000000;
constexpr std::int64_t TenTo18 = 10 * TenTo17;
// log10(2) in 16-bit fixed point, for the estimate of the decimal exponent.
constexpr int Log10Of2Fixed = 19728;
constexpr int FixedPointShift = 16;
// Fixed notation reaches down to 0.0001, whose decimal exponent is −3.
constexpr int LowestFixedExponent = -3;
// Sign, "0", separator, three zeros, 18 digits; or a scientific form with a
// four-digit exponent: either fits.
constexpr int MaxFormattedLength = 32;
// The exponent of a text is read until its value reaches this.
constexpr int ExponentReadLimit = 500;
// Widths beyond this are taken as this, so a format cannot overflow a count.
constexpr int MaxFormatCount = 9999;

// |v| ≈ 0.S × 10^E with S of exactly 18 digits, written into `digits`;
// returns E. The digits are computed in extended arithmetic, so they carry
// the rounding of the scaling and not the exact decimal expansion of v.
int EighteenDigits(long double magnitude, char* digits)
{
    int exponent = ((std::ilogb(magnitude) * Log10Of2Fixed) >> FixedPointShift) + 1;
    std::int64_t s;
    for (;;) {
        // The estimate is off by at most one, so S stays below 2.4 × 10^18.
        s = static_cast<std::int64_t>(std::rint(ScaleByPowerOfTen(magnitude, StringDigits - exponent)));
        if (s >= TenTo18) {
            const std::int64_t remainder = s % 10;
            s /= 10;
            if (remainder > 5 || (remainder == 5 && (s & 1)))
                ++s;
            ++exponent;
        }
        if (s >= TenTo17)
            break;
        --exponent;
    }
    for (int i = StringDigits - 1; i >= 0; --i) {
        digits[i] = static_cast<char>('0' + s % 10);
        s /= 10;
    }
    return exponent;
}

// What FormatGeneral writes a value as, read from its bits: a comparison or
// any arithmetic on a signalling NaN, or on an encoding the unit no longer
// supports (pseudo-NaN, pseudo-infinity, unnormal), would raise the invalid
// flag, and the formatting must leave the unit as it found it.
enum class TValueClass { Zero, Finite, Infinite, NotANumber };

TValueClass Classify(long double value)
{
    static_assert(std::numeric_limits<long double>::digits == 64, "x87 extended format expected");
    unsigned char bytes[sizeof value];
    std::memcpy(bytes, &value, sizeof value);
    std::uint64_t significand;
    std::memcpy(&significand, bytes, sizeof significand);
    const unsigned exponent = (bytes[8] | (bytes[9] << 8)) & 0x7FFF;
    const bool integerBit = significand >> 63;
    const std::uint64_t fraction = significand & ~(std::uint64_t{1} << 63);
    if (exponent == 0x7FFF)
        return integerBit && fraction == 0 ? TValueClass::Infinite : TValueClass::NotANumber;
    if (exponent == 0)  // zero, denormal or pseudo-denormal: all valid operands
        return significand == 0 ? TValueClass::Zero : TValueClass::Finite;
    return integerBit ? TValueClass::Finite : TValueClass::NotANumber;  // an unnormal
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

[[noreturn]] void RaiseConvertError(const std::string& text)
{
    throw EConvertError("'" + text + "' is not a valid floating point value");
}

// Reads a decimal count at `i`; −1 when there is no digit.
int ReadCount(std::string_view text, std::size_t& i)
{
    int count = -1;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        count = std::min((count < 0 ? 0 : count) * 10 + (text[i] - '0'), MaxFormatCount);
    return count;
}

} // namespace

void ReadDecimalSeparator()
{
    char separator = '.';
    if (const locale_t locale = newlocale(LC_NUMERIC_MASK, "", locale_t{})) {
        // A symbol whose first byte is not plain ASCII starts a multibyte
        // character (the Arabic decimal separator of fa_IR): no one char.
        const unsigned char first = static_cast<unsigned char>(*nl_langinfo_l(RADIXCHAR, locale));
        if (first != '\0' && first < 0x80)
            separator = static_cast<char>(first);
        freelocale(locale);
    }
    DecimalSeparator = separator;
}

std::string FormatGeneral(long double value, int precision)
{
    precision = std::clamp(precision, MinPrecision, MaxPrecision);
    const TValueClass kind = Classify(value);
    if (kind == TValueClass::NotANumber)
        return "NAN";
    if (kind == TValueClass::Infinite)
        return std::signbit(value) ? "-INF" : "INF";
    if (kind == TValueClass::Zero)
        return "0";

    char digits[StringDigits];
    int exponent = EighteenDigits(std::fabs(value), digits);

    // Round half up on the digit string, not on the exact value.
    int count = precision;
    if (precision < StringDigits && digits[precision] >= '5') {
        int last = precision - 1;
        while (last >= 0 && digits[last] == '9')
            --last;
        if (last < 0) {
            digits[0] = '1';
            count = 1;
            ++exponent;
        } else {
            ++digits[last];
            count = last + 1;
        }
    }
    while (count > 1 && digits[count - 1] == '0')
        --count;

    char text[MaxFormattedLength];
    int length = 0;
    if (std::signbit(value))
        text[length++] = '-';
    auto append = [&](const char* from, int n) {
        for (int i = 0; i < n; ++i)
            text[length++] = from[i];
    };
    if (exponent >= LowestFixedExponent && exponent <= precision) {
        if (exponent > 0) {
            append(digits, std::min(count, exponent));
            for (int i = count; i < exponent; ++i)
                text[length++] = '0';
            if (count > exponent) {
                text[length++] = DecimalSeparator;
                append(digits + exponent, count - exponent);
            }
        } else {
            text[length++] = '0';
            text[length++] = DecimalSeparator;
            for (int i = exponent; i < 0; ++i)
                text[length++] = '0';
            append(digits, count);
        }
    } else {
        text[length++] = digits[0];
        if (count > 1) {
            text[length++] = DecimalSeparator;
            append(digits + 1, count - 1);
        }
        text[length++] = 'E';
        int power = exponent - 1;
        if (power < 0) {
            text[length++] = '-';
            power = -power;
        }
        char reversed[8];
        int n = 0;
        do {
            reversed[n++] = static_cast<char>('0' + power % 10);
            power /= 10;
        } while (power != 0);
        while (n > 0)
            text[length++] = reversed[--n];
    }
    return std::string(text, length);
}

long double TextToNumber(const std::string& text)
{
    const std::size_t size = text.size();
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < size && text[i] == ' ')
            ++i;
    };
    auto skipDigits = [&] {
        while (i < size && IsDigit(text[i]))
            ++i;
    };

    skipBlanks();
    const bool negative = i < size && text[i] == '-';
    if (i < size && (text[i] == '+' || text[i] == '-'))
        ++i;
    const std::size_t integerStart = i;
    skipDigits();
    const std::string_view integerDigits(text.data() + integerStart, i - integerStart);
    std::string_view fractionDigits;
    const bool hasSeparator = i < size && text[i] == DecimalSeparator;
    if (hasSeparator) {
        const std::size_t fractionStart = ++i;
        skipDigits();
        fractionDigits = std::string_view(text.data() + fractionStart, i - fractionStart);
    }
    if (integerDigits.empty() && !hasSeparator)
        RaiseConvertError(text);

    int exponent = 0;
    if (i < size && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        const bool negativeExponent = i < size && text[i] == '-';
        if (i < size && (text[i] == '+' || text[i] == '-'))
            ++i;
        for (; i < size && IsDigit(text[i]) && exponent < ExponentReadLimit; ++i)
            exponent = exponent * 10 + (text[i] - '0');
        if (negativeExponent)
            exponent = -exponent;
    }
    skipBlanks();
    if (i != size)
        RaiseConvertError(text);

    // N is read across the separator as one integer.
    std::string joined;
    std::string_view digits = integerDigits;
    if (!fractionDigits.empty()) {
        if (integerDigits.empty()) {
            digits = fractionDigits;
        } else {
            joined.reserve(integerDigits.size() + fractionDigits.size());
            joined.append(integerDigits).append(fractionDigits);
            digits = joined;
        }
    }
    const long long scale = std::max<long long>(
        exponent - static_cast<long long>(fractionDigits.size()), -DecimalScaleLimit);

    // Everything masked: an overflow leaves its flag, which decides here.
    // Loading a control word stalls the unit, so only when another is in force.
    const std::uint16_t found = FpuControlWord();
    if (found != MaskedControlWord)
        LoadFpuControlWord(MaskedControlWord);
    if (FpuStatusWord() & StatusFaults) // a fault flag left by others must not count here
        ClearFpuExceptions();
    long double value = DigitLoopValue(digits);
    if (value != 0.0L)
        value = ScaleByPowerOfTen(value, static_cast<int>(scale));
    asm volatile("" : "+t"(value)); // the value is complete before the flags are read
    const std::uint16_t status = FpuStatusWord();
    ClearFpuExceptions();
    if (found != MaskedControlWord)
        LoadFpuControlWord(found);
    if (status & (StatusInvalid | StatusOverflow))
        RaiseConvertError(text);
    return negative ? -value : value;
}

std::string Format(std::string_view format, std::initializer_list<long double> values)
{
    std::string result;
    auto next = values.begin();
    std::size_t i = 0;
    while (i < format.size()) {
        if (format[i] == '%' && next != values.end()) {
            std::size_t j = i + 1;
            const int width = ReadCount(format, j);
            int precision = -1;
            if (j < format.size() && format[j] == '.') {
                ++j;
                precision = std::max(ReadCount(format, j), 0);
            }
            if (j < format.size() && format[j] == 'g') {
                if (precision < 0 || precision > MaxPrecision)
                    precision = FormatDefaultPrecision;
                const std::string number = FormatGeneral(*next++, precision);
                if (width > static_cast<int>(number.size()))
                    result.append(width - number.size(), ' ');
                result += number;
                i = j + 1;
                continue;
            }
        }
        result += format[i++];
    }
    return result;
}
