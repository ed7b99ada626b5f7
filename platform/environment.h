#pragma once
#include <string>

// The settings the game takes from its environment.
namespace plat {

// The user's locale as the C library names it ("zh_CN.UTF-8"): LC_ALL, or LANG
// when LC_ALL is unset or empty; empty when neither is set.
std::string UserLocale();
// TARNWICK_WINDOWED=1 plays in a window instead of full screen.
bool WantsWindowed();

}  // namespace plat
