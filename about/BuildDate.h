// The build date that the About window shows.
#pragma once

#include <cstdint>
#include <string>

// "Build Date : Dec 09, 2026 " for the UTC day that holds `epochSeconds`
// (seconds since 1970-01-01 00:00 UTC): English month abbreviation,
// two-digit day, a trailing blank.
std::string FormatBuildDate(std::int64_t epochSeconds);

// The day this program was built, as the epoch second of its UTC midnight:
// the day of SOURCE_DATE_EPOCH when the build had it set, else the day the
// build ran.
std::int64_t BuildEpoch();
