// tarnwick-datagen OUT_DIR: writes the sample world with the format writers.
#include <cstdio>

#include "tools/datagen/sample_world.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUT_DIR\n", argv[0]);
    return 2;
  }
  std::string error;
  if (!datagen::WriteSampleWorld(argv[1], error)) {
    std::fprintf(stderr, "tarnwick-datagen: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
