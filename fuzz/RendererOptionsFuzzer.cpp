// Fuzz target: orvalis-plot's command line. The input is the words of a
// command line, separated by NUL bytes. Reading it either raises a usage
// error with a message or gives a request within every limit the options
// state; the output checks do the same for each format; the UTF-8 check
// agrees with Qt's decoder, and a colour read back names the colour given.
#include "plot/cli/ColourOption.h"
#include "plot/cli/RendererOptions.h"

#include <QString>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

[[noreturn]] void Report(const char* finding, const std::string& input)
{
    std::string shown;
    for (char c : input)
        shown += c == '\0' ? std::string("\\0") : std::string(1, c);
    std::fprintf(stderr, "\n==== FUZZ FINDING: %s\n==== words: \"%.300s\"\n", finding, shown.c_str());
    std::abort();
}

std::vector<std::string> Words(const std::string& input)
{
    std::vector<std::string> words;
    std::size_t start = 0;
    for (std::size_t end; (end = input.find('\0', start)) != std::string::npos; start = end + 1)
        words.push_back(input.substr(start, end - start));
    words.push_back(input.substr(start));
    return words;
}

bool IsWord(const std::vector<std::string>& words, const std::string& text)
{
    for (const std::string& word : words)
        if (word == text)
            return true;
    return false;
}

void CheckUsageError(const TUsageError& error, const std::string& input)
{
    const std::string message = error.what();
    if (message.empty() || message.back() == '\n')
        Report("a usage error without a one-line message", input);
    if (FirstNonUtf8Byte(message))
        Report("a usage error whose message is not UTF-8", input);
}

void CheckRequest(const std::vector<std::string>& words, const TRendererRequest& request, const std::string& input)
{
    if (!IsWord(words, request.Formula) || !IsWord(words, request.Output))
        Report("a formula or output that is no word of the command line", input);
    if (request.Size.Width < MinPictureSide || request.Size.Height < MinPictureSide)
        Report("a size below the stated limit", input);
    if (request.Format.has_value() != (request.Output == StandardOutputName))
        Report("--format without standard output, or standard output without --format", input);
    if (request.YMinText.has_value() != request.YMaxText.has_value() ||
        (request.XMinText && (!request.Polar || !request.XMaxText || !request.YMinText)))
        Report("a window given in part", input);
    if (request.Sweep && (request.Sweep->Frames < 2 || request.Sweep->Frames > MaxFrames))
        Report("a number of frames beyond the stated limits", input);
    if (request.FrameMs < 0 || request.FrameMs > MaxFrameMs)
        Report("a frame time beyond the stated limits", input);
    for (const TOutputFormatRow& row : OutputFormats()) {
        try {
            CheckRendererOutput(request, row.Format);
            const std::int32_t most = row.Raster ? MaxRasterSide : MaxVectorSide;
            if (request.Size.Width > most || request.Size.Height > most)
                Report("a size beyond the stated limit of its format", input);
        } catch (const TUsageError& error) {
            CheckUsageError(error, input);
        }
    }
}

// A colour taken from "#RRGGBB" or "#RGB" stands for the same digits.
void CheckColour(const std::string& text, const std::string& input)
{
    if (FirstNonUtf8Byte(text))
        return;  // the command line refuses such a word before any colour is read
    try {
        const TColor colour = ParseColour("good", text);
        if (!text.starts_with('#'))
            return;
        std::string digits = text.substr(1);
        if (digits.size() == 3)
            digits = {digits[0], digits[0], digits[1], digits[1], digits[2], digits[2]};
        const TColor red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
        if (std::stoul(digits, nullptr, 16) != (red << 16 | green << 8 | blue) || colour > 0xFFFFFF)
            Report("a #RRGGBB colour read as another", input);
    } catch (const TUsageError& error) {
        CheckUsageError(error, input);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> words = Words(input);

    // Qt's decoder as the second opinion: a text is UTF-8 when it comes back
    // from a QString unchanged.
    for (const std::string& word : words) {
        const bool qtValid = QString::fromUtf8(word.data(), static_cast<qsizetype>(word.size())).toUtf8() ==
                             QByteArray(word.data(), static_cast<qsizetype>(word.size()));
        if (qtValid != !FirstNonUtf8Byte(word).has_value())
            Report("the UTF-8 check and Qt's decoder disagree", input);
    }
    CheckColour(words.front(), input);

    try {
        const TCommandLine line = ParseRendererArguments(words);
        if (line.Action == TCommandLine::TAction::Plot)
            CheckRequest(words, line.Request, input);
    } catch (const TUsageError& error) {
        CheckUsageError(error, input);
    } catch (const std::exception& error) {
        Report(error.what(), input);
    }
    return 0;
}
