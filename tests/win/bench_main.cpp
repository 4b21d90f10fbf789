// Entry point of every Windows test program: GoogleTest under Wine, with the program's error
// boxes going to the real message box so that tests can see and answer them.
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
