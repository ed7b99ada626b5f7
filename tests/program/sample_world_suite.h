#pragma once
// Tests that run the built program in a sample world of their own, written
// once for the suite into a temporary folder and removed after it.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "tools/datagen/sample_world.h"

namespace programtest {

class SampleWorldSuite : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string error;
    ASSERT_TRUE(datagen::WriteSampleWorld(World().string(), error)) << error;
  }
  static void TearDownTestSuite() {
    std::error_code ignored;
    std::filesystem::remove_all(World(), ignored);
  }
  static std::filesystem::path World() {
    return std::filesystem::temp_directory_path() / ("tarnwick-program-world-" + std::to_string(::getpid()));
  }
};

}  // namespace programtest
