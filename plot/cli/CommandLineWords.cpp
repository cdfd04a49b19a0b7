// The words of orvalis-plot's command line read as UTF-8, byte for byte.
#include "plot/cli/CommandLineWords.h"
#include "plot/cli/RendererOptions.h"

#include <cstdio>

// Each word as text; a word that is not UTF-8 would name another file or
// formula than the one given.
QStringList Words(const std::vector<std::string>& arguments)
{
    QStringList words;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (const std::optional<std::size_t> at = FirstNonUtf8Byte(arguments[i])) {
            char byte[8];
            std::snprintf(byte, sizeof byte, "0x%02X", static_cast<unsigned char>(arguments[i][*at]));
            throw TUsageError("word " + std::to_string(i + 1) + " of the command line is not valid UTF-8 (byte " +
                              std::to_string(*at + 1) + " is " + byte +
                              "); file names and texts are read as UTF-8");
        }
        words << QString::fromStdString(arguments[i]);
    }
    return words;
}
