// Entry point shared by every test executable.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
#if !defined(_WIN32) && defined(PROJECT_BINARY_DIR)
  // What the programs under test keep per user (the run records) goes to a
  // folder of the build, not to the user's own; started tools inherit it.
  setenv("XDG_DATA_HOME", (std::string(PROJECT_BINARY_DIR) + "/test-tmp/dados-usuario").c_str(), 1);
#endif
  return RUN_ALL_TESTS();
}
