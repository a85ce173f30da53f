#pragma once

// The pieces every data-driven test shares: rows that name their own test case, and the row of a table
// that turns one text into another.

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace testsupport
{

/// Names each case of a parameterised test after its row's `name` (letters and digits, unique in the table):
/// the last argument of INSTANTIATE_TEST_SUITE_P.
struct RowName {
    template<class Row> std::string operator()(const testing::TestParamInfo<Row> &info) const
    {
        return info.param.name;
    }
};

/// One text and what it must become: a sheet in the test notation before and after a pass, a pattern and
/// its translation, a typed value and the value read from it.
struct TextRow {
    const char *name;
    std::string before;
    std::string after;
};

/// A failing row prints as its name (gtest finds this by argument-dependent lookup).
inline void PrintTo(const TextRow &row, std::ostream *os)
{
    *os << row.name;
}

} // namespace testsupport
