// The contract suite's entry: names the backend first, so a log shows what was verified.

#include <gtest/gtest.h>

#include <cstdio>

#include "ContractFixture.h"

int main(int argc, char** argv) {
    std::printf("Platform contract tests against the %s backend\n", kestrune::contract::BackendName());
    std::fflush(stdout);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::printf("Platform contract tests against the %s backend: %s\n", kestrune::contract::BackendName(),
                result == 0 ? "passed" : "FAILED");
    return result;
}
