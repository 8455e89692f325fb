#include "host_env.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new HostEnvironment());
    return RUN_ALL_TESTS();
}
