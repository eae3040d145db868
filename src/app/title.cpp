// SPDX-License-Identifier: MIT
#include "app/title.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

// True for a value exactly halfway between two tenths, such as 0.25. Only quarters with an odd
// numerator are: any other tenth-and-a-half is not a binary fraction.
static bool IsExactHalfTenth(double value)
{
    const double quarters = value * 4;
    return std::isfinite(quarters) && quarters == std::floor(quarters) && std::fmod(quarters, 2) != 0;
}

void FormatTitle(std::string& title, double fps, const std::string& separator)
{
    // printf rounds exactly and breaks ties to even; moving a tie one ulp away from zero makes
    // it round away from zero, and leaves every other value's rounding as it was.
    if (IsExactHalfTenth(fps)) {
        fps = std::nextafter(fps, fps > 0 ? HUGE_VAL : -HUGE_VAL);
    }
    char digits[400]; // room for the largest double in fixed notation
    std::snprintf(digits, sizeof digits, "%.1f", fps);
    const char* point = std::strchr(digits, '.');
    const size_t wholeLength = point != nullptr ? static_cast<size_t>(point - digits) : std::strlen(digits);

    title.assign(TARNWICK_NAME " (");
    title.append(digits, wholeLength);
    if (point != nullptr) {
        title.append(separator);
        title.append(point + 1);
    }
    title.append(" FPS)");
}
