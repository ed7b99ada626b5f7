#include <gtest/gtest.h>

#include <string>

#include "platform/environment.h"
#include "tests/support/captures.h"

namespace {

TEST(Environment, TheLocaleIsLcAllThenLang) {
  struct Case {
    const char* lcAll;
    const char* lang;
    std::string locale;
  } cases[] = {
      {"zh_CN.GB2312", "en_US.UTF-8", "zh_CN.GB2312"},
      {"", "zh_CN.UTF-8", "zh_CN.UTF-8"},
      {nullptr, "en_GB.UTF-8", "en_GB.UTF-8"},
      {nullptr, nullptr, ""},
  };
  for (const Case& c : cases) {
    testsupport::ScopedEnv lcAll("LC_ALL", c.lcAll);
    testsupport::ScopedEnv lang("LANG", c.lang);
    EXPECT_EQ(plat::UserLocale(), c.locale) << (c.lcAll ? c.lcAll : "unset") << ", " << (c.lang ? c.lang : "unset");
  }
}

TEST(Environment, OnlyOneAsksForAWindow) {
  const std::pair<const char*, bool> cases[] = {
      {"1", true}, {nullptr, false}, {"", false}, {"0", false}, {"yes", false}};
  for (const auto& [value, windowed] : cases) {
    testsupport::ScopedEnv env("TARNWICK_WINDOWED", value);
    EXPECT_EQ(plat::WantsWindowed(), windowed) << (value ? value : "unset");
  }
}

}  // namespace
