// One command line of orvalis-plot run in-process, as the program runs it.
#pragma once

#include "plot/cli/PainterRenderer.h"

#include <string>
#include <variant>
#include <vector>

using TWords = std::vector<std::string>;

inline TRendererOutcome RunLine(const TWords& words)
{
    auto line = ReadRendererCommandLine(words);
    if (const auto* outcome = std::get_if<TRendererOutcome>(&line))
        return *outcome;
    return RenderPlot(std::get<TRendererRequest>(line));
}
