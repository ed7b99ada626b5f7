#pragma once
#include <string>

// Finding a running copy: by its window title (every window holds a shared
// advisory lock on a file named after its title while it exists, so another
// process, or this one, can tell that a window with that title is open), and
// by the claim a copy takes when it starts.
namespace plat {

// True while some window, in any process of this user, has exactly this title.
bool FindWindowByTitle(const std::string& title);

// The lock a window holds for its title; -1 when none could be taken.
int ClaimWindowTitle(const std::string& title);
// Lets go of a claim on that title; the last claim removes the lock file.
void ReleaseWindowTitle(int claim, const std::string& title);

// The one copy of a program that may run under a name, for this user: an
// exclusive lock in the runtime directory, tested and taken in one step, so
// that of two copies started at the same moment only one gets it. Held
// until released or the process ends. The claim (>= 0), kCopyRunning while
// another process holds it, kNoCopyLock when no lock could be made.
constexpr int kCopyRunning = -1;
constexpr int kNoCopyLock = -2;
int ClaimProgramCopy(const std::string& name);
void ReleaseProgramCopy(int claim);

}  // namespace plat
