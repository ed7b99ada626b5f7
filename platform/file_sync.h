#pragma once

// Whether plat::File::Commit flushes the file to the disk before the rename
// (on by default), so a power cut after a save never leaves a short file
// under its name. Test programs turn it off: their files outlive no test.
namespace plat {

void SetSyncOnCommit(bool on);

}  // namespace plat
