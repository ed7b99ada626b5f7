#include "talk/markup_scanner.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "tests/support/captures.h"
#include "tests/talk/talk_fixtures.h"

namespace {

using talktest::WriteRaw;

std::string Render(const TalkToken& t) {
  switch (t.type) {
    case '<':
    case '>':
    case '=': return std::string(1, static_cast<char>(t.type));
    case KEY_endtag: return "</";
    case KEY_begindefine: return "<define>";
    case KEY_enddefine: return "</define>";
    case DATA_string: return "s:" + t.text;
    case DATA_number: {
      char buffer[32];
      std::snprintf(buffer, sizeof buffer, "n:%g", static_cast<double>(t.number));
      return buffer;
    }
    default:
      for (const TALKKEYWORDDESC& k : g_talkKeywords)
        if (k.token == t.type) return k.name;
      return "?" + std::to_string(t.type);
  }
}

// The tokens of the file, space-separated.
std::string Scan(const std::string& path) {
  CTalkScanner scanner;
  EXPECT_TRUE(scanner.Open(path));
  std::string out;
  for (int guard = 0; guard < 10000; ++guard) {
    TalkToken t = scanner.Next();
    if (t.type == TALK_END) break;
    out += (out.empty() ? "" : " ") + Render(t);
  }
  EXPECT_EQ(scanner.OpenFileCount(), 0u);
  return out;
}

TEST(TalkScanner, KeywordTableHasItsFortyTwoNames) {
  EXPECT_EQ(sizeof g_talkKeywords / sizeof g_talkKeywords[0], 42u);
  std::string word = "LiSt";
  EXPECT_EQ(LookupTalkKeyword(word), KEY_li);
  EXPECT_EQ(word, "list");  // lower-cased in place
  word = "Sp";
  EXPECT_EQ(LookupTalkKeyword(word), KEY_speaker);
  word = "str";
  EXPECT_EQ(LookupTalkKeyword(word), KEY_string);
  word = "define";
  EXPECT_EQ(LookupTalkKeyword(word), 0);
}

TEST(TalkScanner, LexicalEdgeCases) {
  struct Case {
    const char* name;
    std::string markup;
    std::string tokens;
    std::vector<std::string> traces;
  } cases[] = {
      {"bare words fold to lower case", "<TALK ANAME=Abc>", "< talk aname = s:abc >", {}},
      {"quoted text keeps its case", "<talk aname=\"Abc\">", "< talk aname = s:Abc >", {}},
      {"numbers outside parentheses are rejected",
       "<li size=700>",
       "< li size = >",
       {"Unknown token 7\n", "Unknown token 0\n", "Unknown token 0\n"}},
      {"numbers in parentheses", "<li size=(700, 150)>", "< li size = n:700 n:150 >", {}},
      {"number forms", "<li position=(1 -2 +3 1.5 .5 3.)>", "< li position = n:1 n:-2 n:3 n:1.5 n:0.5 n:3 >", {}},
      {"a lone sign ends the number list",
       "<li size=(- 5)>",
       "< li size = >",
       {"Unknown token -", "Unknown token 5\n", "Unknown token )\n"}},
      {"include in capitals is text", "#INCLUDE \"x.pt\"", "s:#INCLUDE \"x.pt\"", {}},
      {"a comment ends at its first >", "<!-- a > b --><li>", "s:b --> < li >", {}},
      {"define tags with blanks and any case",
       "< Define >int x = 5;</ DEFINE\t>",
       "<define> int s:x = n:5 </define>",
       {}},
      {"define body tokens",
       "<define>fontcolor = (255, 0, 0); font = \"Ming\" bad#</define>",
       "<define> fontcolor = n:255 n:0 n:0 font = s:Ming s:bad </define>",
       {"Unknown token #"}},
      {"white space folds to the last of each run",
       "<li>many   spaces \n here </li>",
       "< li > s:many spaces here </ li >",
       {}},
      {"a run ending in a newline keeps the newline", "<li>a \n\nb\t</li>", "< li > s:a\nb </ li >", {}},
      {"text keeps > and ends at <", "\n  x > y <li>", "s:x > y < li >", {}},
      {"unknown end-tag words are rejected", "</xyz >", "</ >", {"Unknown token xyz"}},
      {"end tags take keywords", "</LI>", "</ li >", {}},
      {"an unterminated quote is a rejected character",
       "<li aname=\"abc>",
       "< li aname = s:abc >",
       {"Unknown token \"\n"}},
      {"Big5 bytes inside a tag are rejected",
       "<li \xAA\xB1>",
       "< li >",
       {"Unknown token \xAA\n", "Unknown token \xB1\n"}},
      {"Big5 text is text", "<li>\xAA\xB1\xAE\x61</li>", "< li > s:\xAA\xB1\xAE\x61 </ li >", {}},
      {"CR LF reads as LF", "<li>a\r\n\r\nb</li>", "< li > s:a\nb </ li >", {}},
  };
  for (const auto& c : cases) {
    testsupport::ScopedWorkDir dir;
    testsupport::DebugTraceCapture trace;
    WriteRaw("talk.pt", c.markup);
    EXPECT_EQ(Scan("talk.pt"), c.tokens) << c.name;
    EXPECT_EQ(trace.Lines(), c.traces) << c.name;
  }
}

TEST(TalkScanner, IncludedTokensComeBetweenIncludeLineAndTheRest) {
  testsupport::ScopedWorkDir dir;
  WriteRaw("resource/talk.pt", "<li>A</li>\n#include \"Resource\\Inc.PT\"\n<li>C</li>");
  WriteRaw("resource/inc.pt", "<li>B</li>\n");
  EXPECT_EQ(Scan(".\\resource\\talk.pt"), "< li > s:A </ li > < li > s:B </ li > < li > s:C </ li >");
}

TEST(TalkScanner, EndOfAnIncludedFileEndsTheTokenNotTheStartCondition) {
  struct Case {
    const char* included;
    const char* rest;  // of the including file
    const char* tokens;
  } cases[] = {
      {"<li>Hel", "lo</li>", "< li > s:Hel s:lo </ li >"},
      {"<li aname=abc", "def>", "< li aname = s:abc s:def >"},
      {"<li size=(12", "34)>", "< li size = n:12 n:34 >"},
      {"<li><!-- open", "still comment>x</li>", "< li > s:x </ li >"},
      {"", "<li>y</li>", "< li > s:y </ li >"},
  };
  for (const auto& c : cases) {
    testsupport::ScopedWorkDir dir;
    WriteRaw("talk.pt", std::string("#include \"a.pt\"") + c.rest);
    WriteRaw("a.pt", c.included);
    EXPECT_EQ(Scan("talk.pt"), c.tokens) << c.included;
  }
}

TEST(TalkScanner, FileIncludingItselfUnderAnotherSpellingIsReadOnce) {
  testsupport::ScopedWorkDir dir;
  testsupport::DebugTraceCapture trace;
  std::filesystem::create_directories("sub");
  WriteRaw("talk.pt", "#include \"a.pt\"<li>end</li>");
  WriteRaw("a.pt", "<li>a</li>#include \".\\a.pt\"#include \"sub/../A.pt\"#include \"a.pt\"");
  EXPECT_EQ(Scan("talk.pt"), "< li > s:a </ li > < li > s:end </ li >");
  EXPECT_EQ(trace.Lines(),
            (std::vector<std::string>{"recusive include file .\\a.pt", "recusive include file sub/../A.pt",
                                      "recusive include file a.pt"}));
}

TEST(TalkScanner, MissingAndTooDeepIncludesAreReportedAsFailures) {
  testsupport::ScopedWorkDir dir;
  testsupport::DebugTraceCapture trace;
  std::filesystem::create_directories("sub");
  WriteRaw("talk.pt", "#include \"nope.pt\"#include \"sub\"#include \"f0.pt\"");
  for (int i = 0; i < 40; ++i)
    WriteRaw("f" + std::to_string(i) + ".pt",
             "<li>" + std::to_string(i) + "</li>#include \"f" + std::to_string(i + 1) + ".pt\"");
  CTalkScanner scanner;
  ASSERT_TRUE(scanner.Open("talk.pt"));
  int texts = 0;
  for (TalkToken t = scanner.Next(); t.type != TALK_END; t = scanner.Next()) texts += t.type == DATA_string;
  EXPECT_EQ(texts, 15);  // talk.pt and f0..f14 fill the sixteen places of the include stack
  ASSERT_EQ(scanner.IncludeFailures().size(), 3u);
  EXPECT_EQ(scanner.IncludeFailures()[0], "Can't find include file nope.pt");
  EXPECT_EQ(scanner.IncludeFailures()[1], "Can't find include file sub");
  EXPECT_EQ(scanner.IncludeFailures()[2], "Include file f15.pt nested too deeply");
  EXPECT_TRUE(trace.Contains("Can't find include file nope.pt"));
  EXPECT_FALSE(scanner.EndedInsideMarkup());
}

TEST(TalkScanner, NotesInputEndingInsideMarkup) {
  struct Case {
    const char* markup;
    bool inside;
  } cases[] = {
      {"<li>text", false},     {"<li", true},       {"<!-- open", true},      {"</li", true},
      {"<li size=(1 2", true}, {"#include ", true}, {"<define> int x", true}, {"<li>a</li>\n  ", false},
  };
  for (const auto& c : cases) {
    testsupport::ScopedWorkDir dir;
    WriteRaw("talk.pt", c.markup);
    CTalkScanner scanner;
    ASSERT_TRUE(scanner.Open("talk.pt"));
    while (scanner.Next().type != TALK_END) {
    }
    EXPECT_EQ(scanner.EndedInsideMarkup(), c.inside) << c.markup;
    EXPECT_EQ(scanner.Next().type, TALK_END);  // stays at the end
  }
}

}  // namespace
