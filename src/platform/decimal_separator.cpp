// SPDX-License-Identifier: MIT
#include "platform/decimal_separator.h"

#include <string>

#if defined(_WIN32)
#include <windows.h>
#elif defined(__EMSCRIPTEN__)
#include "platform/web/browser.h"
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

#elif defined(__EMSCRIPTEN__)

// The browser formats a number for the language: its decimal part is the separator.
std::string ReadDecimalSeparator(const char* locale)
{
    char separator[16] = "";
    BrowserDecimalSeparator(locale != nullptr ? locale : "", separator, sizeof separator);
    return separator[0] != '\0' ? separator : ".";
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
