#pragma once

// Names each row of a table test by its `name` member, so a failing row
// says which case it is: INSTANTIATE_TEST_SUITE_P(..., RowName{}).

#include <string>

namespace rovi::test {

struct RowName {
    template <class Info> std::string operator()(const Info &info) const { return info.param.name; }
};

} // namespace rovi::test
