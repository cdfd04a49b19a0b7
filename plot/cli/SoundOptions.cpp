// What a sound output and --seconds go with, read without drawing anything,
// so that the command line is checked before any plot.
#include "plot/cli/SoundOutput.h"

#include "plot/cli/CommandLineText.h"
#include "numeric/IniInteger.h"

std::int32_t ReadSoundSeconds(const std::string& text)
{
    const std::optional<std::int32_t> value = ParseIniInteger(text);
    if (!value || *value < MinSoundSeconds || *value > MaxSoundSeconds)
        throw TUsageError("--seconds takes an integer from " + std::to_string(MinSoundSeconds) + " to " +
                          std::to_string(MaxSoundSeconds) + ", not " + Quoted(text));
    return *value;
}

bool IsSoundFormat(TOutputFormat format)
{
    return OutputFormatRow(format).Encoder == TOutputEncoder::Sound;
}

void CheckSoundOutput(const TRendererRequest& request, TOutputFormat format)
{
    if (!IsSoundFormat(format)) {
        if (request.SoundSeconds)
            throw TUsageError("--seconds is the length of a sound: OUTPUT ending in .wav or --format wav");
        return;
    }
    if (!request.MoreFormulas.empty())
        throw TUsageError("a sound plays one formula");
    if (request.Sweep)
        throw TUsageError("a sweep of z writes pictures, not a sound");
}
