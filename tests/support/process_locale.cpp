// Linked into every GoogleTest program: the program takes the locale of its
// environment at start, as the programs with windows do (QApplication sets
// it), so that a test run under a "," locale shows every number that is
// formatted or parsed through the process locale.

#include <clocale>

namespace {
[[maybe_unused]] const bool kLocaleFromEnvironment = std::setlocale(LC_ALL, "") != nullptr;
}
