#pragma once
#include <string>

// Finding a running copy by its window title. Every window holds a shared
// advisory lock on a file named after its title while it exists, so another
// process (or this one) can tell that a window with that title is open.
namespace plat {

// True while some window, in any process of this user, has exactly this title.
bool FindWindowByTitle(const std::string& title);

// The lock a window holds for its title; -1 when none could be taken.
int ClaimWindowTitle(const std::string& title);
// Lets go of a claim on that title; the last claim removes the lock file.
void ReleaseWindowTitle(int claim, const std::string& title);

}  // namespace plat
