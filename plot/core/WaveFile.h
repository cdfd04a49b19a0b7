// A WAV file (RIFF/WAVE, PCM) of the curve's sound, as every audio program
// reads it.
#pragma once

#include <cstdint>
#include <span>
#include <string>

// The whole file: the RIFF header, the "fmt " chunk (PCM, 2 channels,
// 44100 Hz, 16 bits) and the "data" chunk holding `pcm`, interleaved stereo,
// little-endian whatever the machine.
std::string WaveFileBytes(std::span<const std::int16_t> pcm);
