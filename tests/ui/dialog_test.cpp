// The dialogue box: its file, lookup, parsing, typing, pacing and layouts.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/core/nodes.h"
#include "engine/core/pools.h"
#include "platform/files.h"
#include "tests/support/captures.h"
#include "tests/ui/dialog_fixture.h"

namespace uitest {

bool DialogTest::NodeShown(HOBJECT node) {
  const NODEDESC* record = LookupNode(node);
  return record && record->visible;
}

namespace {

using Dialog = DialogTest;

TEST_F(Dialog, EntriesAreFoundByNameWithoutCaseOrTrailingBlank) {
  WriteDialogue(kFile, {{"Ann ", "A:first#/"}, {"Bob", "B:second#/"}, {"Cy", "C:last#/tail"}});
  Box box(kFile);
  const struct {
    const char* name;
    int started, entry;
  } cases[] = {{"ANN", 1, 0}, {"ann ", 1, 0}, {"Anna", 0, -1}, {"bob", 1, 1}, {"cy", 1, 2}, {"Dee", 0, -1}};
  for (const auto& c : cases) {
    box.entry = -1;
    EXPECT_EQ(box.Start(c.name, 0, 0, 0, nullptr), c.started) << c.name;
    EXPECT_EQ(box.entry, c.entry) << c.name;
  }
  box.Start("Bob", 0, 0, 0, nullptr);
  EXPECT_EQ(std::string(box.chunks->buffer.begin(), box.chunks->buffer.end()), "B:second#/") << "up to the next entry";
  box.Start("Cy", 0, 0, 0, nullptr);
  EXPECT_EQ(std::string(box.chunks->buffer.begin(), box.chunks->buffer.end()), "C:last#/tail") << "to the file's end";
}

TEST_F(Dialog, ABrokenFileOrIndexIsRefused) {
  std::vector<uint8_t> good;
  std::string error;
  ASSERT_TRUE(datagen::BuildDialogueFile({{"a", "A:x#/"}, {"b", "B:y#/"}}, good, error));
  auto patched = [&](size_t at, uint32_t value) {
    std::vector<uint8_t> bytes = good;
    std::memcpy(&bytes[at], &value, 4);
    return bytes;
  };
  const uint32_t size = static_cast<uint32_t>(good.size());
  const struct {
    const char* what;
    std::vector<uint8_t> bytes;
  } cases[] = {{"wrong magic", patched(0, 0x4321)},
               {"count beyond the file", patched(12, 0x10000000)},
               {"offsets going back", patched(20 + 16 + 12, 20)},
               {"offset into the index", patched(20 + 12, 24)},
               {"offset past the end", patched(20 + 16 + 12, size + 1)},
               {"cut header", std::vector<uint8_t>(good.begin(), good.begin() + 10)}};
  for (const auto& c : cases) {
    ASSERT_TRUE(plat::WriteFileAtomic("bad.dlg", c.bytes.data(), c.bytes.size()));
    testsupport::DebugTraceCapture trace;
    Box box("bad.dlg");
    EXPECT_EQ(box.Open("bad.dlg"), 0) << c.what;
    EXPECT_FALSE(trace.Lines().empty()) << c.what;
    EXPECT_EQ(box.Start("a", 0, 0, 0, nullptr), 0) << c.what;
    EXPECT_EQ(box.Start("b", 0, 0, 0, nullptr), 0) << c.what;
  }
  Box missing("nothing.dlg");
  EXPECT_EQ(missing.Start("a", 0, 0, 0, nullptr), 0);
  ASSERT_TRUE(plat::WriteFileAtomic("good.dlg", good.data(), good.size()));
  Box box("good.dlg");
  EXPECT_EQ(box.Start("b", 0, 0, 0, nullptr), 1);
}

TEST_F(Dialog, SpeakerColonAndIndent) {
  WriteDialogue(kFile, {{"margin", ":Hi#/"}, {"named", "Ann:Hi\nyo#/"}});
  Box box(kFile);
  ASSERT_EQ(box.Start("margin", 0, 0, 0, nullptr), 1);
  box.OnAdvance();
  EXPECT_EQ(box.Text(), "Hi") << "a colon at the margin is not drawn";
  EXPECT_EQ(box.glyphs[0].x, 16);
  EXPECT_GT(Inked(box), 0);

  box.glyphs.clear();
  ASSERT_EQ(box.Start("named", 0, 0, 0, nullptr), 1);
  box.OnAdvance();
  EXPECT_EQ(box.Text(), "Ann:Hiyo");
  // A, n and n are half a cell (9) wide; the colon sits at 43.
  EXPECT_EQ(box.glyphs[3], (Glyph{":", 43, 20, 255, 255, 255}));
  EXPECT_EQ(box.glyphs[4].x, 52);
  EXPECT_EQ(box.glyphs[6].x, 52) << "the next line starts half a cell right of the colon";
  EXPECT_EQ(box.glyphs[6].y, 40);
  EXPECT_EQ(box.waiting, 1) << "the page ended";
}

TEST_F(Dialog, ColourMarksAndTheSubstituteName) {
  WriteDialogue(kFile, {{"colours", "A:x$y^z^w#B:v#/"}, {"hero", "*:Hi#/"}});
  Box box(kFile);
  ASSERT_EQ(box.Start("colours", 0, 0, 0, nullptr), 1);
  box.OnAdvance();
  ASSERT_EQ(box.Text(), "A:xyzw");
  EXPECT_EQ(box.glyphs[2], (Glyph{"x", box.glyphs[2].x, 20, 255, 255, 255}));
  EXPECT_EQ(box.glyphs[3].green, 255);
  EXPECT_EQ(box.glyphs[3].red, 100) << "'$' turns the text cyan";
  EXPECT_EQ(box.glyphs[4].red, 255);
  EXPECT_EQ(box.glyphs[4].green, 100) << "'^' highlights";
  EXPECT_EQ(box.glyphs[5].red, 100) << "the second '^' ends the highlight";
  box.OnAdvance();
  box.OnAdvance();
  EXPECT_EQ(box.glyphs.back(), (Glyph{"v", box.glyphs.back().x, 20, 255, 255, 255})) << "a new page, the text colour";

  box.glyphs.clear();
  ASSERT_EQ(box.Start("hero", 0, 0, 0, "Aldo"), 1);
  EXPECT_EQ(box.chunks->pages[0].speaker, "Aldo*");
  box.OnAdvance();
  EXPECT_EQ(box.Text(), "Aldo:Hi");
  box.glyphs.clear();
  ASSERT_EQ(box.Start("hero", 0, 0, 0, nullptr), 1);
  box.OnAdvance();
  EXPECT_EQ(box.Text(), "Hi") << "without a name the mark is not drawn";
}

TEST_F(Dialog, ALeadByteEndingAnEntryReadsAloneAndTheNextAdvanceCloses) {
  WriteDialogue(kFile, {{"lead", ":a\xA7"}});
  Box box(kFile);
  ASSERT_EQ(box.Start("lead", 0, 0, 0, nullptr), 1);
  box.OnAdvance();
  EXPECT_EQ(box.Text(), "a\xA7");
  EXPECT_EQ(box.glyphs.back().text.size(), 1u);
  EXPECT_EQ(box.IsActive(), 1) << "no '/': still shown";
  box.OnAdvance();
  EXPECT_EQ(box.IsActive(), 0);
}

TEST_F(Dialog, CharacterWidthsAtCell18) {
  const struct {
    const char* character;
    int width;
  } cases[] = {{"W", 14}, {"m", 12}, {"i", 6}, {"E", 11}, {"a", 9}, {"B", 12}, {"\xA7\x41", 18}};
  for (const auto& c : cases) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(c.character);
    EXPECT_EQ(CDialogPlayer::CharWidth(bytes, static_cast<int>(std::strlen(c.character)), 18), c.width) << c.character;
  }
}

TEST_F(Dialog, LongLinesWrapAndFullPagesWait) {
  WriteDialogue(kFile, {{"long", ":" + std::string(70, 'a') + "#/"}});
  Box box(kFile);
  ASSERT_EQ(box.Start("long", 0, 0, 0, nullptr), 1);
  box.OnAdvance();
  // 9 pixels each from 16: the pen passes 600 after 65 characters.
  ASSERT_GE(box.glyphs.size(), 66u);
  EXPECT_EQ(box.glyphs[64].y, 20);
  EXPECT_EQ(box.glyphs[65].y, 40);
  EXPECT_EQ(box.glyphs[65].x, 16);
}

TEST_F(Dialog, PageModeOneTurnsThePageByItself) {
  WriteDialogue(kFile, {{"pages", "A:one#B:two#/"}});
  Box box(kFile);
  ASSERT_EQ(box.SetSpeed(2), 1);
  ASSERT_EQ(box.Start("pages", 0, 1, 0, nullptr), 1);
  int ticks = 0;
  while (!box.waiting && ticks < 20) box.Update(1), ++ticks;
  ASSERT_EQ(ticks, 6) << "one character a tick up to the '#'";
  for (int i = 0; i < 6; ++i) {
    box.Update(1);
    EXPECT_EQ(box.waiting, 1) << i;
    EXPECT_GT(Inked(box), 0) << i;
  }
  box.Update(1);
  EXPECT_EQ(box.waiting, 0);
  EXPECT_EQ(Inked(box), 0) << "cleared by itself";
  box.Update(1);
  EXPECT_EQ(box.glyphs.back().text, "B");
  while (box.Update(1) && box.IsActive()) {
  }
  EXPECT_EQ(box.IsActive(), 0) << "'/' closes";
}

TEST_F(Dialog, SettingsRefuseValuesOutOfRange) {
  WriteDialogue(kFile, {{"a", "A:x#/"}});
  Box box(kFile);
  const int negative = -1, ten = 10;
  EXPECT_EQ(box.SetPosition(641, 0), 0);
  EXPECT_EQ(box.SetPosition(0, 481), 0);
  EXPECT_EQ(box.SetPosition(640, 480), 1);
  EXPECT_EQ(box.SetColourScheme(5), 0);
  EXPECT_EQ(box.SetColourScheme(-1), 0);
  EXPECT_EQ(box.SetColourScheme(4), 1);
  EXPECT_EQ(box.SetSpeed(3), 0);
  EXPECT_EQ(box.SetDelays(nullptr, nullptr), 0);
  EXPECT_EQ(box.SetDelays(&ten, &negative), 0);
  EXPECT_EQ(box.SetDelays(&ten, nullptr), 1);
  EXPECT_EQ(box.pageDelay, 10);
  ASSERT_EQ(box.Start("a", 1, 0, 0, nullptr), 1);
  EXPECT_EQ(box.SetDefaults(&ten, nullptr, nullptr), 0) << "refused while active";
  EXPECT_FALSE(NodeShown(box.pieces[0])) << "the centre panel has no pieces";
  EXPECT_TRUE(NodeShown(box.backdrop));
}

TEST_F(Dialog, ABalloonOpensAwayFromTheScreenEdges) {
  const std::string wide = ":" + std::string(30, 'a') + "#/";
  WriteDialogue(kFile, {{"wide", wide}, {"short", ":hi#/"}});
  Box box(kFile);
  const int width = 18 + 18 * 31, height = 2 * 26 - 20;
  const struct {
    const char* name;
    int x, y, left, top;
  } cases[] = {{"wide", 600, 100, 600 - 32 - width, 100 - 32 - height},
               {"wide", 300, 100, 332, 100 - 32 - height},
               {"short", 100, 20, 132, 20 + 32},
               {"short", 100, 300, 132, 300 - 32 - height}};
  for (const auto& c : cases) {
    ASSERT_EQ(box.StartAt(c.name, c.x, c.y, nullptr), 1);
    EXPECT_EQ(box.layout, CDialogPlayer::kLayoutBalloon);
    EXPECT_EQ(Position(box.panel), std::make_pair(c.left, c.top)) << c.name << " at " << c.x << "," << c.y;
    EXPECT_TRUE(NodeShown(box.borders[0]));
  }
  box.OnAdvance();
  EXPECT_EQ(box.glyphs.front().text, "h") << "balloons show no speaker";
}

void PlaceAt(const DIALOGPAGEDESC&, int* x, int* y) {
  *x = 200;
  *y = 300;
}

TEST_F(Dialog, ABalloonWithoutMoreRecordsStaysOnItsLast) {
  WriteDialogue(kFile, {{"broken", "A:one#" + std::string(40, 'B') + ":two#/"}, {"fine", "A:one#B:two#/"}});
  Box box(kFile);
  box.SetPlacementCallback(PlaceAt);
  ASSERT_EQ(box.StartAt("fine", 100, 100, nullptr), 1);
  box.OnAdvance();
  box.OnAdvance();
  box.OnAdvance();
  EXPECT_EQ(box.recordIndex, 1);
  EXPECT_EQ(box.anchorX, 200) << "the callback placed the second balloon";
  EXPECT_EQ(box.Text(), "onetwo");

  ASSERT_EQ(box.StartAt("broken", 100, 100, nullptr), 1);
  EXPECT_EQ(box.chunks->pages.size(), 1u) << "the long speaker ended the parse";
  for (int i = 0; i < 40 && box.IsActive(); ++i) box.OnAdvance();
  EXPECT_EQ(box.recordIndex, 0);
  EXPECT_EQ(box.IsActive(), 0) << "the text still runs to its end";
}

TEST_F(Dialog, MissingFramePicturesGivePlainQuads) {
  WriteDialogue(kFile, {{"a", "A:x#/"}});
  SetTextureDirectory("nowhere");
  Box box(kFile);
  ASSERT_EQ(box.StartAt("a", 100, 200, nullptr), 1);
  ASSERT_NE(box.pieces[0], 0u);
  ASSERT_NE(box.borders[0], 0u);
  EXPECT_TRUE(NodeShown(box.borders[0]));
  box.OnAdvance();
  EXPECT_EQ(box.Text(), "x");
}

TEST_F(Dialog, FinishingLetsTheNextAdvanceClose) {
  WriteDialogue(kFile, {{"a", "A:one#B:two#/"}});
  Box box(kFile);
  ASSERT_EQ(box.Start("a", 0, 0, 0, nullptr), 1);
  EXPECT_TRUE(NodeShown(box.backdrop));
  EXPECT_TRUE(NodeShown(box.pieces[1]));
  box.Finish(0);
  EXPECT_EQ(box.IsActive(), 1);
  EXPECT_EQ(box.OnAdvance(), 1);
  EXPECT_EQ(box.IsActive(), 0);
  EXPECT_FALSE(NodeShown(box.backdrop));
  EXPECT_EQ(box.OnAdvance(), 0) << "inactive";
  EXPECT_EQ(box.Close(), 0);

  ASSERT_EQ(box.Start("a", 0, 0, 0, nullptr), 1);
  box.OnAdvance();
  box.Finish(1);
  EXPECT_EQ(box.IsActive(), 0);
  EXPECT_EQ(Inked(box), 0);
  EXPECT_FALSE(NodeShown(box.pieces[0]));
}

}  // namespace
}  // namespace uitest
