#pragma once

// How the tests print the command results they compare whole, when a comparison fails.

#include "prefs/preferences.h"
#include "prefs/sample.h"

#include <optional>
#include <ostream>
#include <string>

namespace testsupport
{

template<class T> void printOptional(std::ostream *os, const char *name, const std::optional<T> &value)
{
    *os << name << '=';
    if (value) {
        *os << *value << ' ';
    } else {
        *os << "(none) ";
    }
}

} // namespace testsupport

namespace prefs
{

inline void PrintTo(const SampleResult &sample, std::ostream *os)
{
    testsupport::printOptional(os, "bold", sample.bold);
    testsupport::printOptional(os, "italic", sample.italic);
    testsupport::printOptional(os, "underline", sample.underline);
    testsupport::printOptional(os, "red", sample.red);
    testsupport::printOptional(os, "green", sample.green);
    testsupport::printOptional(os, "blue", sample.blue);
}

inline void PrintTo(const Restore &restore, std::ostream *os)
{
    testsupport::printOptional(os, "red", restore.red);
    testsupport::printOptional(os, "green", restore.green);
    testsupport::printOptional(os, "blue", restore.blue);
    *os << "useColor=" << restore.useColor << " useStyle=" << restore.useStyle << " bold=" << restore.bold
        << " italic=" << restore.italic << " underline=" << restore.underline << " useSharps=" << restore.useSharps
        << " keepColumns=" << restore.keepColumns;
}

} // namespace prefs
