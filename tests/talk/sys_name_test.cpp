// Sys names split into sign, keyword and parameters.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "talk/talk_sys_proc.h"

namespace {

TEST(SysName, SignKeywordAndParameters) {
  const struct {
    const char* name;
    int key;
    int sign;
    std::vector<int> params;
  } cases[] = {
      {"ATTR6", SYSKEY_ATTR, 0, {6}},
      {"+ATTR6", SYSKEY_ATTR, 1, {6}},
      {"-ATTR6", SYSKEY_ATTR, 2, {6}},
      {"ATTR_6", SYSKEY_ATTR, 0, {0}},
      {"ITEM3_12", SYSKEY_ITEM, 0, {3, 12}},
      {"+ITEM3_12", SYSKEY_ITEM, 1, {3, 12}},
      {"ITEM3", SYSKEY_ITEM, 0, {3, 3}},  // no '_': the search wraps to the front
      {"ITEM", SYSKEY_ITEM, 0, {0, 0}},
      {"AUTOPT150", SYSKEY_AUTOPT, 0, {150}},
      {"FLAG120", SYSKEY_FLAG, 0, {120}},
      {"MONEY", SYSKEY_MONEY, 0, {0}},
      {"+MONEY", SYSKEY_MONEY, 1, {0}},
      {"MONEY50", SYSKEY_MONEY, 0, {50}},
      {"SHOP2", SYSKEY_SHOP, 0, {2}},
      {"REST", SYSKEY_REST, 0, {0}},
      {"FIGHT1", SYSKEY_FIGHT, 0, {1}},
      {"GAME4", SYSKEY_GAME, 0, {4}},
      {"HP5", SYSKEY_NONE, 0, {}},
      {"+", SYSKEY_NONE, 1, {}},
      {"", SYSKEY_NONE, 0, {}},
      {"attr6", SYSKEY_NONE, 0, {}},  // the procedure upper-cases first
  };
  for (const auto& c : cases) {
    std::vector<int> params = {99};
    int sign = -1;
    EXPECT_EQ(ParseSysName(c.name, params, sign), c.key) << c.name;
    EXPECT_EQ(sign, c.sign) << c.name;
    EXPECT_EQ(params, c.params) << c.name;
  }
}

}  // namespace
