#pragma once
#include <map>
#include <string>

// What a won battle gave the hero, shown on the heads-up display.
struct REWARDDESC {
  int level = 0;        // before the battle
  int newLevel = 0;     // after a level-up; 0 when the hero did not rise
  int experience = 0;   // won
  int toNextLevel = 0;  // the threshold minus the experience, before adding
  int money = 0;        // won
  // Filled only after a level-up.
  int hp = 0;
  int mp = 0;
  int percent = 0;
  int attackPower = 0;
  int defence[6] = {};
  std::map<std::string, int> items;  // won items by name, with their counts
};
