#include <gtest/gtest.h>

#include "platform/crt.h"
#include "talk/base_talk_player.h"
#include "tests/support/captures.h"
#include "tests/talk/talk_fixtures.h"

namespace {

using talktest::WriteRaw;

bool HasError(const CBaseTalkPlayer& player, const std::string& fragment) {
  for (const std::string& e : player.errors)
    if (e.find(fragment) != std::string::npos) return true;
  return false;
}

TEST(CorruptMarkup, CutOrBrokenFilesFailTheLoadWithDiagnostics) {
  const std::string deep = "<talk>" + [] {
    std::string s;
    for (int i = 0; i < 5000; ++i) s += "<sl>";
    return s;
  }();
  // Eight files that each include all eight: without a bound on the whole
  // load, millions of openings within the depth limit.
  std::vector<std::pair<std::string, std::string>> bomb;
  for (int i = 0; i < 8; ++i) {
    std::string text = "<talk><li>" + std::to_string(i) + "</li></talk>";
    for (int j = 0; j < 8; ++j) text += "#include \"b" + std::to_string(j) + ".pt\"\n";
    bomb.emplace_back("b" + std::to_string(i) + ".pt", text);
  }
  struct Case {
    const char* name;
    std::string markup;
    const char* error;
    std::vector<std::pair<std::string, std::string>> files = {};
  } cases[] = {
      {"unterminated opening tag", "<talk aname=\"a\"><li>x</li></talk><talk", "Unexpected end of file"},
      {"unterminated end tag", "<talk><li>x</li></talk", "Unexpected end of file"},
      {"unterminated talk", "<talk><sl><li>Hi</li>", "Unexpected end of file"},
      {"unterminated sentence", "<talk><li>Hi", "Unexpected end of file"},
      {"unterminated comment", "<talk></talk><!-- never closed", "Unexpected end of file"},
      {"quoted value running to the end", "<talk></talk><talk aname=\"abc", "Unexpected end of file"},
      {"unterminated string element", "<string greet>Hello", "Unexpected end of file"},
      {"unterminated define block", "<define> int x = 1", "Unexpected end of file"},
      {"unterminated number list", "<talk size=(1 2", "Unexpected end of file"},
      {"include of a missing file", "#include \"missing.pt\"<talk></talk>", "Can't find include file missing.pt"},
      {"nesting too deep", deep, "internal error"},
      {"include bomb", "#include \"b0.pt\"", "Include limit reached at b", bomb},
  };
  for (const auto& c : cases) {
    testsupport::ScopedWorkDir dir;
    WriteRaw("talk.pt", c.markup);
    for (const auto& [name, text] : c.files) WriteRaw(name, text);
    CBaseTalkPlayer player;
    EXPECT_EQ(player.Load("talk.pt"), 0) << c.name;
    EXPECT_TRUE(HasError(player, c.error)) << c.name;
    EXPECT_EQ(player.errorCount, static_cast<int>(player.errors.size())) << c.name;
    EXPECT_NE(player.state, TALKSTATE_LOADED) << c.name;
  }
}

TEST(CorruptMarkup, TheTalksBeforeTheDamageStayUsable) {
  testsupport::ScopedWorkDir dir;
  WriteRaw("talk.pt", "<talk aname=good><li>fine</li></talk><talk aname=cut><li link=good>x");
  CBaseTalkPlayer player;
  EXPECT_EQ(player.Load("talk.pt"), 0);
  ASSERT_EQ(player.childCount, 1);
  EXPECT_EQ(player.GetChild(0)->aname, "good");
  ASSERT_NE(player.FindAname("cut"), nullptr);
}

TEST(CorruptMarkup, MangledFilesNeverCrashTheLoad) {
  const std::string base =
      "<define>int x = 1 fontcolor = (1, 2, 3)</define>#include \"inc.pt\"\n"
      "<string s>text</string><talk aname=\"T\" if=\"x == 1 && sys(q A)\" script=\"x = x + 1\">"
      "<li speaker=\"Ann\">##s<ol><li link=T>a</li><li func=back>b</li></ol></li>"
      "<rl size=(1 2)><li>c</li></rl><!-- note --></talk>";
  const char alphabet[] = "<>/=\"()!#, \n\xAA\xB1tlsiad0-";
  plat::Srand(7);
  for (int round = 0; round < 300; ++round) {
    testsupport::ScopedWorkDir dir;
    testsupport::DebugTraceCapture trace;
    std::string markup = base;
    int edits = 1 + plat::Rand() % 6;
    for (int e = 0; e < edits && !markup.empty(); ++e) {
      size_t at = static_cast<size_t>(plat::Rand()) % markup.size();
      switch (plat::Rand() % 3) {
        case 0: markup.erase(at, 1 + plat::Rand() % 8); break;
        case 1: markup.insert(at, 1, alphabet[plat::Rand() % (sizeof alphabet - 1)]); break;
        default: markup.resize(at); break;
      }
    }
    WriteRaw("talk.pt", markup);
    WriteRaw("inc.pt", round % 2 ? "<talk aname=inc></talk>#include \"talk.pt\"" : "<li>");
    CBaseTalkPlayer player;
    int result = -1;
    talktest::CaptureStdout([&] { result = player.Load("talk.pt"); });
    EXPECT_TRUE(result == 0 || result == 1) << markup;
    EXPECT_EQ(player.errorCount, static_cast<int>(player.errors.size()));
    EXPECT_EQ(result == 1, player.errors.empty()) << markup;
    testing::internal::CaptureStdout();
    player.Dump();
    for (const auto& talk : player.children) talk->Reset();
    testing::internal::GetCapturedStdout();
  }
}

}  // namespace
