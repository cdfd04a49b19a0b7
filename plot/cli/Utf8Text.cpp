// Where a word of the command line stops being well-formed UTF-8.
#include "plot/cli/RendererOptions.h"

std::optional<std::size_t> FirstNonUtf8Byte(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length;
        char32_t code, least;
        if ((lead & 0xE0) == 0xC0)
            length = 2, code = lead & 0x1F, least = 0x80;
        else if ((lead & 0xF0) == 0xE0)
            length = 3, code = lead & 0x0F, least = 0x800;
        else if ((lead & 0xF8) == 0xF0)
            length = 4, code = lead & 0x07, least = 0x10000;
        else
            return i;
        if (text.size() - i < length)
            return i;
        for (std::size_t k = 1; k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return i;
            code = code << 6 | (next & 0x3F);
        }
        // Overlong forms, surrogates and code points beyond Unicode.
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return i;
        i += length;
    }
    return std::nullopt;
}
