# Writes BuildDay.h with the day the program is built, as the epoch second of
# its UTC midnight. Run at every build (cmake -DOUTPUT=... -P this file); the
# header changes, and the About window is recompiled, only when the day does.
# string(TIMESTAMP) takes SOURCE_DATE_EPOCH when it is set, so that
# reproducible builds get the date they ask for.
if(NOT OUTPUT)
  message(FATAL_ERROR "GenerateBuildDate.cmake: OUTPUT is not set")
endif()
string(TIMESTAMP now "%s" UTC)
math(EXPR day "${now} / 86400 * 86400")
file(CONFIGURE OUTPUT "${OUTPUT}" CONTENT
"// Written by the build (about/GenerateBuildDate.cmake): the day it ran.
#pragma once

#include <cstdint>

inline constexpr std::int64_t OrvalisBuildDay = ${day};
")
