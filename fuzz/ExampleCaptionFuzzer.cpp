// Fuzz target: the Examples caption parser. Any caption splits without a
// crash, a caption built from quoted items gives those items back, a name's
// value is that of its first item, and the z of any caption reads cleanly.
#include "window/core/ExampleCaption.h"
#include "numeric/FloatingPoint.h"
#include "numeric/NumberText.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

[[noreturn]] void Report(const char* finding, const std::string& caption)
{
    std::fprintf(stderr, "\n==== FUZZ FINDING: %s\n==== caption: \"%.300s\"\n", finding, caption.c_str());
    std::abort();
}

std::string Quoted(const std::string& item)
{
    std::string text = "\"";
    for (char c : item)
        text += c == '"' ? std::string("\"\"") : std::string(1, c);
    return text + "\"";
}

std::string WithoutSpacedEquals(std::string text)
{
    for (std::size_t at = text.find(" = "); at != std::string::npos; at = text.find(" = ", at + 1))
        text.replace(at, 3, "=");
    return text;
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The first item whose text before its first "=" is `name`: what follows.
std::string ValueOf(const std::vector<std::string>& items, const std::string& name)
{
    for (const std::string& item : items) {
        const std::size_t equals = item.find('=');
        if (equals != std::string::npos && Lower(item.substr(0, equals)) == Lower(name))
            return item.substr(equals + 1);
    }
    return "";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ResetFpu();
    FuzzedDataProvider provider(data, size);
    const std::string caption = provider.ConsumeRandomLengthString(4096);
    const std::vector<std::string> items = ExampleItems(caption);
    for (const std::string& item : items) {
        const std::size_t equals = item.find('=');
        const std::string name = equals == std::string::npos ? item : item.substr(0, equals);
        if (ExampleValue(items, name) != ValueOf(items, name))
            Report("ExampleValue is not the value of the first item of the name", caption);
    }
    // The program reads an example's z as a number.
    try {
        (void)TextToNumber(ExampleValue(items, "z"));
    } catch (const EConvertError&) {
    }
    if (FpuStatusWord() & StatusFaults)
        Report("reading the caption's z left a fault flag set", caption);

    std::vector<std::string> parts;
    std::string built;
    while (provider.remaining_bytes() > 0 && parts.size() < 8) {
        parts.push_back(provider.ConsumeRandomLengthString(64));
        built += (built.empty() ? "" : ",") + Quoted(parts.back());
    }
    std::vector<std::string> expected;
    for (const std::string& part : parts)
        expected.push_back(WithoutSpacedEquals(part));
    if (ExampleItems(built) != expected)
        Report("quoted items do not split back into themselves", built);
    return 0;
}
