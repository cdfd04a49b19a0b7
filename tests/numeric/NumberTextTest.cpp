// Tests of the number texts: the general form and its format strings, the
// reading of numbers, their conversion errors, and the locale's separator.
#include "numeric/NumberText.h"
#include "WithSeparator.h"

#include "numeric/FloatingPoint.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>

namespace {

// Keeps a double a double on i386, where GCC holds it in an x87 register.
long double Stored(double value)
{
    volatile double stored = value;
    return stored;
}

std::string Trimmed(const std::string& text)
{
    std::size_t begin = 0, end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ')
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ')
        --end;
    return text.substr(begin, end - begin);
}


// ---- The general number form ----

// A value, a precision and the text FormatGeneral must give.
struct TFormatCase {
    long double Value;
    int Precision;
    const char* Text;
};

TEST(FormatGeneral, WorkedExamples)
{
    struct TRow {
        long double Value;
        const char *General, *Padded5, *Trimmed4, *Precision6;
    };
    const TRow rows[] = {
        {0.5, "0.5", "     0.5", "0.5", "0.5"},
        {-2.5, "-2.5", "    -2.5", "-2.5", "-2.5"},
        {Stored(0.00001), "1E-5", "    1E-5", "1E-5", "1E-5"},
        {Stored(0.0001), "0.0001", "  0.0001", "0.0001", "0.0001"},
        {Stored(0.00012345), "0.00012345", "0.00012345", "0.0001234", "0.00012345"},
        {Stored(1.0 / 3.0), "0.333333333333333", " 0.33333", "0.3333", "0.333333"},
        {Stored(3.141592653589793), "3.14159265358979", "  3.1416", "3.142", "3.14159"},
        {100000, "100000", "     1E5", "1E5", "100000"},
        {1234567, "1234567", "1.2346E6", "1.235E6", "1.23457E6"},
        {123456789, "123456789", "1.2346E8", "1.235E8", "1.23457E8"},
        {1e15, "1E15", "    1E15", "1E15", "1E15"},
        {123456789012345, "123456789012345", "1.2346E14", "1.235E14", "1.23457E14"},
        {1e20, "1E20", "    1E20", "1E20", "1E20"},
        {0.0, "0", "       0", "0", "0"},
        {-0.0, "0", "       0", "0", "0"},
    };
    for (const TRow& row : rows) {
        EXPECT_EQ(Format("%g", {row.Value}), row.General) << row.General;
        EXPECT_EQ(Format("%8.5g", {row.Value}), row.Padded5) << row.General;
        EXPECT_EQ(Trimmed(Format("%8.4g", {row.Value})), row.Trimmed4) << row.General;
        EXPECT_EQ(FormatGeneral(row.Value, 6), row.Precision6) << row.General;
    }
}

TEST(FormatGeneral, RoundsHalfUpOnTheEighteenDigits)
{
    const TFormatCase cases[] = {
        {1.03125, 5, "1.0313"},                 // exact tie: rounds up, not to even
        {0.5078125, 6, "0.507813"},
        {0.0078125, 4, "0.007813"},
        {Stored(-77.08005), 6, "-77.0801"},     // the double lies below the tie, its 18 digits do not
        {Stored(1.2345678), 6, "1.23457"},
        {Stored(0.1), 18, "0.100000000000000006"}, // 18: the digit string itself
        {Stored(1.0 / 3.0), 18, "0.333333333333333315"},
        {3 * static_cast<long double>(Stored(0.1)), 15, "0.3"},
    };
    for (const TFormatCase& c : cases)
        EXPECT_EQ(FormatGeneral(c.Value, c.Precision), c.Text) << c.Text;
}

TEST(FormatGeneral, CarryChangesTheNotation)
{
    const TFormatCase cases[] = {
        {99999.5, 5, "1E5"},                  // the carry makes the exponent exceed the precision
        {Stored(0.000099999), 4, "0.0001"},   // the carry lifts it into fixed notation
        {Stored(0.000099999), 5, "9.9999E-5"},
        {999999.5, 6, "1E6"},
        {9.5, 2, "9.5"},
        {Stored(9.96), 2, "10"},
        {Stored(-9.96), 2, "-10"},
    };
    for (const TFormatCase& c : cases)
        EXPECT_EQ(FormatGeneral(c.Value, c.Precision), c.Text) << c.Text;
}

TEST(FormatGeneral, Notation)
{
    const TFormatCase cases[] = {
        {123456, 6, "123456"},     // as many digits as the precision: still fixed
        {1234567, 7, "1234567"},
        {1200000, 6, "1.2E6"},
        {Stored(9.5367431640625E-7), 6, "9.53674E-7"},
        {Stored(-1E-100), 15, "-1E-100"},
        {Stored(1.5e-10), 15, "1.5E-10"},
        {Stored(1e100), 15, "1E100"},
        {-10, 6, "-10"},
        {10, 6, "10"},
        {60, 6, "60"},
        {Stored(0.001), 15, "0.001"},
        {1e4000L, 15, "1E4000"},
        {std::numeric_limits<long double>::max(), 15, "1.18973149535723E4932"},
        {std::numeric_limits<long double>::denorm_min(), 15, "3.64519953188247E-4951"},
        {Stored(DBL_MAX), 15, "1.79769313486232E308"},
    };
    for (const TFormatCase& c : cases)
        EXPECT_EQ(FormatGeneral(c.Value, c.Precision), c.Text) << c.Text;
}

TEST(FormatGeneral, PrecisionIsClampedToTwoAndEighteen)
{
    const long double pi = Stored(3.141592653589793);
    EXPECT_EQ(FormatGeneral(pi, -5), "3.1");
    EXPECT_EQ(FormatGeneral(pi, 1), "3.1");
    EXPECT_EQ(FormatGeneral(pi, 40), FormatGeneral(pi, 18));
    EXPECT_EQ(FormatGeneral(pi, 18), "3.14159265358979312");
}

TEST(FormatGeneral, InfinitiesAndNaN)
{
    const long double infinity = std::numeric_limits<long double>::infinity();
    EXPECT_EQ(FormatGeneral(infinity, 15), "INF");
    EXPECT_EQ(FormatGeneral(-infinity, 15), "-INF");
    EXPECT_EQ(FormatGeneral(std::numeric_limits<long double>::quiet_NaN(), 15), "NAN");
}

// Every encoding of the extended format, the signalling NaN and the ones the
// unit no longer supports among them, is written without a fault flag.
TEST(FormatGeneral, LeavesNoFaultFlagForAnyEncoding)
{
    struct TCase {
        const char* Name;
        std::uint64_t Significand;
        std::uint16_t SignAndExponent;
        const char* Text;
    };
    const TCase cases[] = {
        {"signalling NaN", 0x8000000000000001, 0x7FFF, "NAN"},
        {"negative signalling NaN", 0xA000000000000000, 0xFFFF, "NAN"},
        {"quiet NaN", 0xC000000000000000, 0x7FFF, "NAN"},
        {"pseudo-NaN", 0x0000000000000001, 0x7FFF, "NAN"},
        {"pseudo-infinity", 0x0000000000000000, 0x7FFF, "NAN"},
        {"unnormal", 0x4000000000000000, 0x3FFF, "NAN"},
        {"negative infinity", 0x8000000000000000, 0xFFFF, "-INF"},
        {"pseudo-denormal", 0x8000000000000000, 0x0000, "3.36210314311209351E-4932"},
        {"smallest denormal", 0x0000000000000001, 0x0000, "3.64519953188247460E-4951"},
        {"largest finite", 0xFFFFFFFFFFFFFFFF, 0x7FFE, "1.18973149535723177E4932"},
        {"negative zero", 0, 0x8000, "0"},
    };
    for (const TCase& c : cases) {
        long double value = 0;
        unsigned char bytes[10];
        std::memcpy(bytes, &c.Significand, 8);
        std::memcpy(bytes + 8, &c.SignAndExponent, 2);
        std::memcpy(&value, bytes, sizeof bytes);
        ClearFpuExceptions();
        const std::string text = FormatGeneral(value, 18);
        EXPECT_EQ(FpuStatusWord() & StatusFaults, 0) << c.Name;
        ClearFpuExceptions();
        if (std::string_view(c.Text).find('E') == std::string_view::npos)
            EXPECT_EQ(text, c.Text) << c.Name;
        else  // the last digits carry the scaling's rounding: compare the leading ones
            EXPECT_EQ(text.substr(0, 12) + text.substr(text.find('E')),
                      std::string(c.Text).substr(0, 12) + std::strchr(c.Text, 'E'))
                << c.Name << ": " << text;
    }
}

TEST(FormatGeneral, CommaSeparator)
{
    const WithSeparator comma(',');
    EXPECT_EQ(FormatGeneral(0.5, 15), "0,5");
    EXPECT_EQ(FormatGeneral(Stored(1.5e-10), 15), "1,5E-10");
    EXPECT_EQ(FormatGeneral(Stored(0.00012345), 6), "0,00012345");
    EXPECT_EQ(FormatGeneral(Stored(1.0 / 3.0), 4), "0,3333");
    EXPECT_EQ(FormatGeneral(100, 15), "100");
}

// ---- Format strings ----

TEST(Format, ProgramFormats)
{
    EXPECT_EQ(Format("x = %8.5g,  y = %8.5g", {Stored(-3.14159), Stored(0.000123456)}),
              "x =  -3.1416,  y = 0.00012346"); // the y part is longer than 8 and not cut
    EXPECT_EQ(Format("x = %8.5g,  y = %8.5g", {0.5, -2}), "x =      0.5,  y =       -2");
    {
        const WithSeparator comma(',');
        EXPECT_EQ(Format("x = %8.5g,  y = %8.5g", {0.5, -0.25}), "x =      0,5,  y =    -0,25");
    }
}

TEST(Format, Conversions)
{
    struct TCase {
        const char* Format;
        long double Value;
        const char* Text;
    };
    const long double third = Stored(1.0 / 3.0);
    const TCase cases[] = {
        {"%g", third, "0.333333333333333"},
        {"%5g", 0.5, "  0.5"},                // width alone: precision 15
        {"%.3g", third, "0.333"},             // precision alone: no padding
        {"%.18g", third, "0.333333333333333315"},
        {"%.19g", third, "0.333333333333333"}, // above 18: 15
        {"%.g", third, "0.33"},               // an empty precision is 0, which counts as 2
        {"%1g", 1234, "1234"},
        {"[%g]", 7, "[7]"},
        {"100% %g", 1, "100% 1"},             // a "%" that starts no conversion is copied
        {"%8.4f %g", 2, "%8.4f 2"},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(Format(c.Format, {c.Value}), c.Text) << c.Format;
}

TEST(Format, ValuesAndConversionsMismatched)
{
    EXPECT_EQ(Format("%g and %g", {1}), "1 and %g");
    EXPECT_EQ(Format("%g", {1, 2}), "1");
    EXPECT_EQ(Format("plain", {}), "plain");
    EXPECT_EQ(Format("", {1}), "");
}

// ---- Reading ----

TEST(TextToNumber, ReadingExamples)
{
    struct TCase {
        const char* Text;
        long double Value;
    };
    const TCase cases[] = {
        {"0.1", 0.1L},
        {"  12.5 ", 12.5L},
        {"+4", 4},
        {"5.", 5},
        {".5", 0.5},
        {"1e", 1},
        {"1e+", 1},
        {"1e-", 1},
        {".e5", 0},
        {".", 0},
        {"-2.5E-3", -0.0025L},
        {"1E+2", 100},
        {"007", 7},
        {"1e0000000000000000002", 100}, // leading zeros never reach 500
        {"1e-4999", 0},                 // below the extended range: 0, silently
        {"12345678901234567890", 12345678901234567890.0L},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(TextToNumber(c.Text), c.Value) << c.Text;
}

TEST(TextToNumber, SignOfZero)
{
    EXPECT_TRUE(std::signbit(TextToNumber("-.")));
    EXPECT_TRUE(std::signbit(TextToNumber("-0")));
    EXPECT_FALSE(std::signbit(TextToNumber("+0")));
    EXPECT_EQ(FormatGeneral(TextToNumber("-."), 15), "0");
}

TEST(TextToNumber, BeyondTheDoubleRange)
{
    // Numbers in the extended range; storing them as doubles overflows.
    for (const char* text : {"1E0500", "1E499", "-1e400", "2e308"}) {
        const long double value = TextToNumber(text);
        EXPECT_GT(std::fabs(value), DBL_MAX) << text;
        EXPECT_THROW(StoreDouble(value), EOverflow) << text;
    }
    const long double tiny = TextToNumber("1e-400");
    EXPECT_GT(tiny, 0.0L);
    EXPECT_EQ(StoreDouble(tiny), 0.0);
}

TEST(TextToNumber, NoNumbers)
{
    const char* const texts[] = {
        "1E4999",  // the value overflows
        "1E5000",  // the exponent stops at 500, a "0" is left over
        "1e-5000", "1.2.3", "1 2", "1,5", "\t1", "1\t", "", " ", "+", "-", "E5", "e", "+e1", "--1", "+-1",
        "1 e5", "1e 5", "1e++5", "0x10", "inf", "nan", "1d", "١",
    };
    for (const char* text : texts)
        EXPECT_THROW(TextToNumber(text), EConvertError) << '"' << text << '"';
}

TEST(TextToNumber, LongDigitStrings)
{
    EXPECT_THROW(TextToNumber(std::string(5000, '9')), EConvertError); // overflows while read
    EXPECT_EQ(TextToNumber("0." + std::string(6000, '0') + "1"), 0.0L);
    EXPECT_EQ(TextToNumber(std::string(300, '0') + "." + std::string(300, '0') + "25"), TextToNumber("25e-302"));
}

TEST(TextToNumber, CommaSeparator)
{
    const WithSeparator comma(',');
    struct TCase {
        const char* Text;
        long double Value;
    };
    const TCase cases[] = {{"0,5", 0.5}, {",5", 0.5}, {"-1,25E2", -125}, {",e5", 0}, {" 3, ", 3}};
    for (const TCase& c : cases)
        EXPECT_EQ(TextToNumber(c.Text), c.Value) << c.Text;
    EXPECT_TRUE(std::signbit(TextToNumber("-,")));
    for (const char* text : {"0.5", "0.958", "1.0", "1,2,3", "."})
        EXPECT_THROW(TextToNumber(text), EConvertError) << text;
}

TEST(TextToNumber, ConvertErrorMessage)
{
    struct TCase {
        std::string Text;
        const char* Message;
    };
    const TCase cases[] = {
        {"abc", "'abc' is not a valid floating point value"},
        {" 1 2 ", "' 1 2 ' is not a valid floating point value"},
        {"", "'' is not a valid floating point value"},
        {"1E5000", "'1E5000' is not a valid floating point value"},
    };
    for (const TCase& c : cases) {
        try {
            TextToNumber(c.Text);
            ADD_FAILURE() << c.Text << " was read";
        } catch (const Exception& error) { // the general class catches it
            EXPECT_STREQ(error.what(), c.Message);
            EXPECT_NE(dynamic_cast<const EConvertError*>(&error), nullptr);
        }
    }
}

TEST(TextToNumber, LeavesTheUnitAsItFoundIt)
{
    constexpr std::uint16_t AllExceptionFlags = 0x003F;
    for (const char* text : {"0.1", "1e-4999", "1e4000", "1E4999", "x"}) {
        try {
            TextToNumber(text);
        } catch (const EConvertError&) {
        }
        EXPECT_EQ(FpuStatusWord() & AllExceptionFlags, 0) << text;
        EXPECT_EQ(FpuControlWord(), MaskedControlWord) << text;
    }

    // A fault flag left by someone else is not the reading's own fault.
    volatile long double zero = 0.0L;
    volatile long double invalid = zero / zero;
    (void)invalid;
    ASSERT_NE(FpuStatusWord() & StatusInvalid, 0);
    EXPECT_EQ(TextToNumber("2.5"), 2.5L);
    EXPECT_EQ(FpuStatusWord() & AllExceptionFlags, 0);

    // Under another word the reading still rounds to nearest, and the word
    // it found is loaded again.
    LoadFpuControlWord(TruncatingControlWord);
    const long double tenth = TextToNumber("0.1");
    const std::uint16_t word = FpuControlWord();
    ResetFpu();
    EXPECT_EQ(tenth, 0.1L);
    EXPECT_EQ(word, TruncatingControlWord);
}

// ---- The locale's separator ----

// Sets LC_ALL (and LOCPATH) for one test and restores them and the separator.
class LocaleSeparator : public testing::Test {
protected:
    void SetUp() override
    {
        SavedSeparator = DecimalSeparator;
        for (auto& [name, value] : SavedEnvironment)
            if (const char* current = std::getenv(name))
                value = current;
    }

    void TearDown() override
    {
        DecimalSeparator = SavedSeparator;
        for (const auto& [name, value] : SavedEnvironment)
            value ? setenv(name, value->c_str(), 1) : unsetenv(name);
        std::error_code ignored;
        std::filesystem::remove_all(LocaleDirectory, ignored);
    }

    // Compiles a locale that defines only its decimal point, into a private
    // directory that LOCPATH then names; false when localedef is missing.
    bool MakeLocale(const std::string& name, const std::string& decimalPoint, const std::string& charmap)
    {
        const std::filesystem::path& directory = LocaleDirectory;
        std::filesystem::create_directories(directory);
        const std::filesystem::path source = directory / (name + ".src");
        std::ofstream(source) << "LC_NUMERIC\ndecimal_point \"" << decimalPoint
                              << "\"\nthousands_sep \"\"\ngrouping -1\nEND LC_NUMERIC\n";
        const std::string command = "localedef -c -i '" + source.string() + "' -f " + charmap + " '" +
                                    (directory / name).string() + "' >/dev/null 2>&1";
        [[maybe_unused]] const int status = std::system(command.c_str()); // warns about the missing categories
        setenv("LOCPATH", directory.c_str(), 1);
        return std::filesystem::exists(directory / name / "LC_NUMERIC");
    }

    // One directory per process: ctest runs the tests of this group side by side.
    const std::filesystem::path LocaleDirectory =
        std::filesystem::path(testing::TempDir()) / ("orvalis-locales-" + std::to_string(getpid()));
    char SavedSeparator = '.';
    std::pair<const char*, std::optional<std::string>> SavedEnvironment[2] = {{"LC_ALL", {}}, {"LOCPATH", {}}};
};

TEST_F(LocaleSeparator, PointWhereTheLocaleGivesNone)
{
    for (const char* locale : {"C", "POSIX", "no_SUCH.locale"}) {
        DecimalSeparator = '#';
        setenv("LC_ALL", locale, 1);
        ReadDecimalSeparator();
        EXPECT_EQ(DecimalSeparator, '.') << locale;
    }
}

TEST_F(LocaleSeparator, CommaLocale)
{
    if (!MakeLocale("comma", "<U002C>", "ANSI_X3.4-1968"))
        GTEST_SKIP() << "localedef cannot build a test locale here";
    setenv("LC_ALL", "comma", 1);
    ReadDecimalSeparator();
    EXPECT_EQ(DecimalSeparator, ',');
    // The process's own locale is untouched.
    EXPECT_STREQ(std::localeconv()->decimal_point, ".");
    EXPECT_EQ(FormatGeneral(0.5, 15), "0,5");
    EXPECT_EQ(TextToNumber("0,5"), 0.5);
}

TEST_F(LocaleSeparator, MultibyteSymbolGivesPoint)
{
    // The Arabic decimal separator U+066B is two bytes in UTF-8.
    if (!MakeLocale("arabic", "<U066B>", "UTF-8"))
        GTEST_SKIP() << "localedef cannot build a test locale here";
    setenv("LC_ALL", "arabic", 1);
    DecimalSeparator = ',';
    ReadDecimalSeparator();
    EXPECT_EQ(DecimalSeparator, '.');
}

} // namespace
