// Formatting of the build date; the day itself comes from the header that
// the build writes (GenerateBuildDate.cmake).
#include "about/BuildDate.h"

#include "about/BuildDay.h"

#include <array>
#include <chrono>
#include <cstdio>

namespace {

constexpr std::int64_t SecondsPerDay = 86400;

// English whatever the user's locale: the label is one of the program's fixed texts.
constexpr std::array<const char*, 12> MonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                    "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    return a / b - (a % b != 0 && (a < 0) != (b < 0));
}

} // namespace

std::string FormatBuildDate(std::int64_t epochSeconds)
{
    using namespace std::chrono;
    const sys_days day{days{FloorDiv(epochSeconds, SecondsPerDay)}};
    const year_month_day date{day};
    char text[64];
    std::snprintf(text, sizeof text, "Build Date : %s %02u, %d ",
                  MonthNames[static_cast<unsigned>(date.month()) - 1], static_cast<unsigned>(date.day()),
                  static_cast<int>(date.year()));
    return text;
}

std::int64_t BuildEpoch()
{
    return OrvalisBuildDay;
}
