// SPDX-License-Identifier: MIT
// Running a test under a chosen locale and putting the environment back afterwards. The locales
// the tests use are built into the build tree (no root, no locale-gen) and found through LOCPATH.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

#ifndef TARNWICK_TEST_LOCALES
#error "TARNWICK_TEST_LOCALES names the folder of the locales built for the tests"
#endif

// Sets (or, given nullptr, removes) one environment variable; the destructor restores it.
struct TScopedVariable {
    std::string Name;
    std::optional<std::string> Saved;

    TScopedVariable(const char* name, const char* value) : Name(name)
    {
        if (const char* old = std::getenv(name)) Saved = old;
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~TScopedVariable()
    {
        if (Saved) {
            setenv(Name.c_str(), Saved->c_str(), 1);
        } else {
            unsetenv(Name.c_str());
        }
    }
    TScopedVariable(const TScopedVariable&) = delete;
    TScopedVariable& operator=(const TScopedVariable&) = delete;
};

// The process environment names this locale for everything, built-in or built for the tests.
struct TScopedLocale {
    TScopedVariable LocalePath{"LOCPATH", TARNWICK_TEST_LOCALES};
    TScopedVariable All;
    explicit TScopedLocale(const char* locale) : All("LC_ALL", locale) {}
};
