// The WAV file's bytes: a RIFF header and two chunks, every number
// little-endian.
#include "plot/core/WaveFile.h"

#include "plot/core/CurveSound.h"

namespace {

constexpr std::uint16_t PcmFormat = 1;
constexpr std::uint16_t BitsPerValue = 16;
constexpr std::uint32_t FormatChunkSize = 16;
// "WAVE", the "fmt " chunk with its header, and the "data" chunk's header.
constexpr std::uint32_t HeaderAfterRiffSize = 4 + 8 + FormatChunkSize + 8;

void Append(std::string& bytes, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

std::string WaveFileBytes(std::span<const std::int16_t> pcm)
{
    const std::uint32_t blockAlign = SoundChannels * BitsPerValue / 8;
    const auto dataSize = static_cast<std::uint32_t>(pcm.size() * sizeof(std::int16_t));
    std::string bytes;
    bytes.reserve(8 + HeaderAfterRiffSize + dataSize);
    bytes += "RIFF";
    Append(bytes, HeaderAfterRiffSize + dataSize, 4);
    bytes += "WAVEfmt ";
    Append(bytes, FormatChunkSize, 4);
    Append(bytes, PcmFormat, 2);
    Append(bytes, SoundChannels, 2);
    Append(bytes, SoundFrameRate, 4);
    Append(bytes, SoundFrameRate * blockAlign, 4);
    Append(bytes, blockAlign, 2);
    Append(bytes, BitsPerValue, 2);
    bytes += "data";
    Append(bytes, dataSize, 4);
    for (const std::int16_t value : pcm)
        Append(bytes, static_cast<std::uint16_t>(value), 2);
    return bytes;
}
