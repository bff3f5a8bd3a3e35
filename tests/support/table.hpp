// Table-driven tests: a fixture over rows that carry a `name`, each row run and
// reported under that name ("KeyLookup/KeyLookupTable.ReturnsValue/LfOnlyLineStartFound").
//   using KeyLookupTable = Table<LookupCase>;
//   TEST_P(KeyLookupTable, ReturnsValue) { ... GetParam() ... }
//   RAVLET_TABLE(KeyLookup, KeyLookupTable, kLookupCases);
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace ravlet::test {

template <typename Row>
class Table : public ::testing::TestWithParam<Row> {};

struct RowName {
    template <typename Row>
    std::string operator()(const ::testing::TestParamInfo<Row>& info) const {
        return info.param.name;
    }
};

}  // namespace ravlet::test

#define RAVLET_TABLE(prefix, table, rows) \
    INSTANTIATE_TEST_SUITE_P(prefix, table, ::testing::ValuesIn(rows), ::ravlet::test::RowName{})
