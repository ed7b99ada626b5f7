#pragma once
// How heroes rise through their level tables. Key 1 is the level, key 2 the
// experience and key 3 the experience needed for the next level.
#include <cstdint>
#include <vector>

class CGDMainManSoul;

// Raises while the experience reaches the need (or one step when forced);
// returns the levels gained. Battle rewards call it unforced.
int LevelUp(CGDMainManSoul* hero, int force = 0);
// Forces the steps up to level; 0 when the table has no row for it.
int RaiseToLevel(CGDMainManSoul* hero, int32_t level);
// As LevelUp, but it also teaches the actions of each level reached (their
// ids go to learned when given) and refills more values.
int LevelUpEx(CGDMainManSoul* hero, int force, std::vector<int32_t>* learned);
int RaiseToLevelEx(CGDMainManSoul* hero, int32_t level);
