// Every test program's entry. A test's files are gone when it ends, so no
// commit waits for the disk; the one test of that flush turns it back on.
#include <gtest/gtest.h>

#include "platform/file_sync.h"

int main(int argc, char** argv) {
  plat::SetSyncOnCommit(false);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
