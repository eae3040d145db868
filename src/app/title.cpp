// SPDX-License-Identifier: MIT
#include "app/title.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#if defined(_WIN32)
#include <windows.h>
#else
#include <langinfo.h>
#include <locale.h>
#endif

#if defined(_WIN32)

// The locale's own separator, up to LOCALE_SDECIMAL's limit of four UTF-16 units, as UTF-8.
std::string ReadDecimalSeparator(const char* locale)
{
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = L"";
    if (locale != nullptr && MultiByteToWideChar(CP_UTF8, 0, locale, -1, name, LOCALE_NAME_MAX_LENGTH) == 0) {
        return ".";
    }
    wchar_t separator[8] = L"";
    if (GetLocaleInfoEx(locale != nullptr ? name : LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) <=
        1) {
        return ".";
    }
    char utf8[32] = "";
    if (WideCharToMultiByte(CP_UTF8, 0, separator, -1, utf8, sizeof utf8, nullptr, nullptr) <= 1) {
        return ".";
    }
    return utf8;
}

#else

std::string ReadDecimalSeparator(const char* locale)
{
    locale_t numeric =
        newlocale(LC_NUMERIC_MASK, locale != nullptr ? locale : "", static_cast<locale_t>(nullptr));
    if (numeric == static_cast<locale_t>(nullptr)) {
        return ".";
    }
    const char* radix = nl_langinfo_l(RADIXCHAR, numeric);
    std::string separator = radix != nullptr && radix[0] != '\0' ? radix : ".";
    freelocale(numeric);
    return separator;
}

#endif

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

    title.assign("Tarnwick Alpha (");
    title.append(digits, wholeLength);
    if (point != nullptr) {
        title.append(separator);
        title.append(point + 1);
    }
    title.append(" FPS)");
}
