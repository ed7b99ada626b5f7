#include <functional>
#include <string>
#include <vector>

#include "tests/ui/ui_fixture.h"
#include "ui/am_edit.h"
#include "ui/am_text_styles.h"

namespace uitest {
namespace {

struct Drawn {
  int y;
  std::string line;
  bool smoothed;
  bool operator==(const Drawn&) const = default;
};

// A label that records its lines as it draws them.
class RecordingText : public CAmText {
 public:
  RecordingText(int width, int height, CAmObject* parent) : CAmText(width, height, 0, parent, nullptr) {}
  void DrawLineSmooth(int y, const std::string& line) override {
    drawnLines.push_back({y, line, true});
    CAmText::DrawLineSmooth(y, line);
  }
  void DrawLinePlain(int y, const std::string& line) override {
    drawnLines.push_back({y, line, false});
    CAmText::DrawLinePlain(y, line);
  }
  std::vector<Drawn> drawnLines;
};

// An edit field that records what it draws.
class RecordingEdit : public CAmEdit {
 public:
  RecordingEdit(int width, int height, CAmObject* parent) : CAmEdit(width, height, parent) {}
  void Redraw(const std::string& s) override {
    redrawn.push_back(s);
    CAmEdit::Redraw(s);
  }
  std::vector<std::string> redrawn;
};

// A widget whose own message, bubbling through it on the way up, runs an action.
class Probe : public CAmObject {
 public:
  Probe(CAmObject* parent, std::function<void()> action)
      : CAmObject(10, 10, 0, parent), child(new CAmObject(1, 1, 0, this)), action(std::move(action)) {}
  ~Probe() override { delete child; }
  void Post() { child->PostMessage(AMM_USER, 0, 0, child); }
  int OnMessage(int, int, int, CAmObject*) override {
    action();
    return 0;
  }
  CAmObject* child;
  std::function<void()> action;
};

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

const std::string kZhong = "\xa4\xa4";  // a two-byte character
const uint16_t kBlueKey = 0x001F;       // (0, 0, 255) on a 5-6-5 screen

class TextTest : public UiTest {
 protected:
  TextTest() {
    WriteQbi("paper.qbi", 320, 200, [](int, int) { return 0xF0E0D0u; });
    window = new RecordingWnd(320, 200, nullptr, "paper");
  }
  // Ten 16-pixel characters with spacing 2 to a line.
  RecordingText* TenColumns(int height = 16) { return new RecordingText(180, height, window); }

  RecordingWnd* window;
};

TEST_F(TextTest, LinesEndBeforeATwoByteCharacterThatWouldStraddleTheLimit) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<size_t> lengths;
  } cases[] = {
      {"ten wide characters, then more", Repeat(kZhong, 12), {20, 4}},
      {"one narrow character first", "a" + Repeat(kZhong, 11), {19, 4}},
      {"narrow characters only", std::string(25, 'x'), {20, 5}},
      {"a short text", "ab", {2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingText* t = TenColumns(16 + 21 + 21);
    EXPECT_EQ(t->columns, 10);
    EXPECT_EQ(t->lines, 3);
    t->SetText(c.text.c_str());
    std::vector<size_t> lengths;
    for (const Drawn& d : t->drawnLines) lengths.push_back(d.line.size());
    EXPECT_EQ(lengths, c.lengths);
    ASSERT_FALSE(t->drawnLines.empty());
    EXPECT_EQ(t->drawnLines[0].y, 16) << "the first line's bottom";
    if (t->drawnLines.size() > 1) {
      EXPECT_EQ(t->drawnLines[1].y, 16 + 16 + 5);
    }
    delete t;
  }
}

TEST_F(TextTest, TextPastTheLastLineIsCut) {
  RecordingText* t = TenColumns(16 + 21);
  t->SetText(std::string(60, 'x').c_str());
  ASSERT_EQ(t->drawnLines.size(), 2u);
  EXPECT_EQ(t->drawnLines[1].line, std::string(20, 'x'));
}

TEST_F(TextTest, ColoursNeverGoBelowTen) {
  RecordingText* t = TenColumns();
  t->SetColour(0, 5, 200);
  EXPECT_EQ(t->red, 10);
  EXPECT_EQ(t->green, 10);
  EXPECT_EQ(t->blue, 200);
  t->SetFont("Other", 12, 12, 0, 0, 0);
  EXPECT_EQ(t->red + t->green + t->blue, 30);
  EXPECT_EQ(t->fontIndex, FindFontName("Other"));
  EXPECT_NE(t->fontIndex, 0);
  EXPECT_EQ(FindFontName(""), 0);
  t->SetNumber(42, "%03d");
  EXPECT_EQ(t->text, "042");
  t->SetText(nullptr);
  EXPECT_EQ(t->text, "");
}

TEST_F(TextTest, TwoSmoothedRedrawsPerUpdateAndTheRestUpgradeLater) {
  std::vector<RecordingText*> texts;
  for (int i = 0; i < 3; ++i) {
    texts.push_back(TenColumns());
    texts.back()->SetPosition(0, 30 * i);
    texts.back()->smooth = 1;
  }
  // The texts change while the manager delivers an update's messages.
  auto* poster = new Probe(window, [&] {
    for (RecordingText* t : texts) t->SetText("ab");
  });
  poster->Post();
  Update();
  for (RecordingText* t : texts) ASSERT_EQ(t->drawnLines.size(), 1u);
  EXPECT_TRUE(texts[0]->drawnLines[0].smoothed);
  EXPECT_TRUE(texts[1]->drawnLines[0].smoothed);
  EXPECT_FALSE(texts[2]->drawnLines[0].smoothed);
  Update();
  ASSERT_EQ(texts[2]->drawnLines.size(), 2u);
  EXPECT_TRUE(texts[2]->drawnLines[1].smoothed);
  EXPECT_EQ(texts[0]->drawnLines.size(), 1u) << "nothing is drawn twice";
}

TEST_F(TextTest, SetFontAloneKeepsTheDrawing) {
  RecordingText* t = TenColumns();
  t->SetText("Ab");
  int before = CountNot(t->sprite, kBlueKey, 0, 0, 198, 16);
  EXPECT_GT(before, 0);
  t->SetFont(nullptr, 8, 8, 255, 255, 255);
  Update();
  EXPECT_EQ(t->drawnLines.size(), 1u);
  EXPECT_EQ(CountNot(t->sprite, kBlueKey, 0, 0, 198, 16), before);
  t->SetText("Ab");
  EXPECT_EQ(t->drawnLines.size(), 2u);
}

TEST_F(TextTest, PlainAndSmoothedLinesShareTheirRows) {
  auto inkRows = [](HOBJECT sprite, int* top, int* bottom) {
    *top = 1000;
    *bottom = -1;
    for (int y = 0; y < 40; ++y)
      if (CountNot(sprite, kBlueKey, 0, y, 198, y + 1) > 0) {
        *top = std::min(*top, y);
        *bottom = y;
      }
  };
  RecordingText* plain = TenColumns(40);
  plain->SetPosition(0, 0);
  RecordingText* smoothed = TenColumns(40);
  smoothed->SetPosition(0, 100);
  smoothed->smooth = 1;
  std::string text = "Ag" + kZhong;
  plain->SetText(text.c_str());
  smoothed->SetText(text.c_str());
  ASSERT_TRUE(smoothed->drawnLines[0].smoothed);
  int plainTop = 0, plainBottom = 0, smoothTop = 0, smoothBottom = 0;
  inkRows(plain->sprite, &plainTop, &plainBottom);
  inkRows(smoothed->sprite, &smoothTop, &smoothBottom);
  ASSERT_GE(plainBottom, plainTop);
  EXPECT_LT(plainBottom, 16) << "the first line lies in the first cell";
  // The filter spreads ink by at most one pixel.
  EXPECT_LE(std::abs(plainTop - smoothTop), 1);
  EXPECT_LE(std::abs(plainBottom - smoothBottom), 1);
}

TEST_F(TextTest, AShadowedTextCastsABlackShadow) {
  auto* shadowed = new CAmShadowText(180, 16, 0, window);
  EXPECT_EQ(shadowed->characterSpacing, 0);
  EXPECT_EQ(shadowed->lineSpacing, 2);
  shadowed->SetFont(nullptr, 16, 16, 250, 250, 250);
  shadowed->SetText("I");
  uint16_t white = static_cast<uint16_t>(MapRGB(250, 250, 250)), black = static_cast<uint16_t>(MapRGB(0, 0, 0));
  int whites = 0, blacks = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 20; ++x) {
      uint16_t p = SpritePixel(shadowed->sprite, x, y);
      whites += p == white;
      blacks += p == black;
    }
  EXPECT_GT(whites, 0);
  EXPECT_GT(blacks, 0);
}

TEST_F(TextTest, AFancyTextPulsesBetweenItsTwoColours) {
  auto* fancy = new CAmFancyText(180, 16, 0, window, nullptr);
  fancy->SetText("Go");
  Update();
  fancy->SetPulse(1);
  EXPECT_EQ(fancy->red, 255);
  EXPECT_EQ(fancy->blue, 0);
  UpdateFor(4, 0.1);  // counter 5: halfway through the pulse
  EXPECT_EQ(fancy->red, 100);
  EXPECT_EQ(fancy->blue, 255);
  UpdateFor(5, 0.1);  // counter 10, wrapped to 0
  EXPECT_EQ(fancy->red, 255);
  EXPECT_EQ(fancy->pulseCount, 0);
  fancy->SetPulse(0);
  EXPECT_EQ(fancy->red, 10) << "the colour it was made with";
}

class EditTest : public TextTest {
 protected:
  EditTest() {
    edit = new RecordingEdit(180, 16, window);  // 10 columns, 1 line: 18 bytes of room
    edit->SetPosition(20, 20);
    Update();
  }
  int EditMessages() {
    int n = 0;
    for (const Received& r : window->received) n += r.id == kAmmEditChar && r.sender == edit;
    return n;
  }
  RecordingEdit* edit;
};

TEST_F(EditTest, APressInsideEditsAndAPressOutsideStops) {
  Char('a');
  EXPECT_EQ(edit->text, "") << "typing needs editing";
  Press(25, 25);
  EXPECT_EQ(edit->editing, 1);
  EXPECT_EQ(edit->red, 200);
  Char('a');
  EXPECT_EQ(edit->redrawn.back(), "a_");
  Press(300, 190);
  EXPECT_EQ(edit->editing, 0);
  EXPECT_EQ(edit->smooth, 1) << "the idle text is smoothed";
  EXPECT_EQ(edit->redrawn.back(), "a");
  edit->enabled = 0;
  Press(25, 25);
  EXPECT_EQ(edit->editing, 0);
}

TEST_F(EditTest, TypedBytesBuildBig5Characters) {
  struct Case {
    const char* name;
    std::string start;
    std::vector<int> codes;
    std::string expected;
    int pending;
  } cases[] = {
      {"room 1 refuses a lead byte", std::string(17, 'x'), {0xA4}, std::string(17, 'x'), 0},
      {"room 1 takes a single byte", std::string(17, 'x'), {'b'}, std::string(18, 'x').replace(17, 1, "b"), 0},
      {"a trail byte without the high bit", "", {'a', 0xA5, 0x5C}, "a\xa5\x5c", 0},
      {"Backspace removes a whole two-byte character", "", {'a', 0xA5, 0x5C, 8}, "a", 0},
      {"Backspace removes a single byte", "", {0xA4, 0xA4, 'b', 8}, kZhong, 0},
      {"Backspace drops a waiting lead byte first", "", {'a', 'b', 0xA4, 8}, "a", 0},
      {"a lead byte waits unseen", "", {'a', 0xA4}, "a\xa4", 1},
      {"a byte that cannot trail drops the lead", "", {'a', 0xA4, ' '}, "a ", 0},
      {"code 0 is no character", "", {'a', 0, 'b'}, "ab", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    edit->SetTextRaw(c.start.c_str(), static_cast<int>(c.start.size()));
    edit->pending = 0;
    edit->BeginEdit();
    window->received.clear();
    for (int code : c.codes) Char(code);
    EXPECT_EQ(edit->text, c.expected);
    EXPECT_EQ(edit->pending, c.pending);
    Update();
    EXPECT_EQ(EditMessages(), static_cast<int>(c.codes.size())) << "every character posts 19";
  }
}

TEST_F(EditTest, EnterEndsEditingAndDropsAWaitingLeadByte) {
  edit->BeginEdit();
  Char('a');
  Char(0xA4);
  Char(13);
  EXPECT_EQ(edit->text, "a");
  EXPECT_EQ(edit->pending, 0);
  EXPECT_EQ(edit->editing, 0);
  EXPECT_EQ(edit->OnChar('z'), 0) << "not editing: not consumed";
}

TEST_F(EditTest, TypedTextArrivesAsBig5Bytes) {
  edit->BeginEdit();
  Type("a\xe4\xb8\xad\xf0\x9f\x98\x80");  // "a", a Chinese character, and one Big5 lacks
  EXPECT_EQ(edit->text, "a" + kZhong);
  EXPECT_EQ(edit->pending, 0);
}

}  // namespace
}  // namespace uitest
