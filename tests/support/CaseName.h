// CaseName: names each test of a parameterised suite after its case, for GoogleTest's and
// ctest's lists: the case's own name field, or the parameter itself where it is a string,
// with every character a test name cannot hold made '_'.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <type_traits>

struct CaseName {
    template <class Param>
    std::string operator()(const ::testing::TestParamInfo<Param>& info) const {
        std::string name;
        if constexpr (std::is_convertible_v<const Param&, std::string>)
            name = info.param;
        else
            name = info.param.name;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        return name;
    }
};
