#pragma once
#include <string>
#include <vector>

#include "engine/media/data_directories.h"
#include "platform/sound.h"
#include "tests/ui/ui_fixture.h"
#include "tools/datagen/dialogue_writer.h"
#include "tools/datagen/sample_world_parts.h"
#include "ui/gm_base.h"
#include "ui/menu_agency.h"
#include "ui/overlay_input.h"

namespace uitest {

// An overlay element over a rectangle that records what reaches it.
class ProbeElement : public CGMBase {
 public:
  ProbeElement(int left = 0, int top = 0, int width = 0, int height = 0, bool* deleted = nullptr)
      : CGMBase(7), left(left), top(top), width(width), height(height), deleted(deleted) {}
  ~ProbeElement() override {
    if (deleted) *deleted = true;
  }
  int Update(int steps) override {
    updates.push_back(steps);
    return 1;
  }
  int HitTest(int x, int y) override { return x >= left && x < left + width && y >= top && y < top + height; }
  int OnLButtonDown(int, int) override { return Note("down"); }
  int OnLButtonUp(int, int) override { return Note("up"); }
  int OnRButtonDown(int, int) override { return Note("right"); }
  int OnMouseMove(int, int) override { return Note("move"); }
  int OnDrag(int, int) override { return Note("drag"); }
  int OnKey(int, int) override { return Note("key"); }

  int Note(const char* what) {
    seen.push_back(what);
    return 1;
  }

  int left, top, width, height;
  bool* deleted;
  std::vector<int> updates;
  std::vector<std::string> seen;
};

// The overlay on an open engine, the sample world's pictures and sounds in
// the working directory (textures, images and waves in their folders), the
// mixer advanced by the test.
class OverlayTest : public UiTest {
 protected:
  OverlayTest() {
    plat::SetManualMixing(true);
    std::string error;
    EXPECT_TRUE(datagen::WriteSampleDialogue("./", error)) << error;
    SetImageDirectory("image");
    SetTextureDirectory("texture");
    SetSoundDirectory("waves");
  }
  ~OverlayTest() override {
    InstallOverlayInput(nullptr);
    InstallOverlayEscapeKey(nullptr);
    agency_.RemoveAll();
    agency_.ReleaseSounds();
    plat::SetManualMixing(false);
  }

  // A dialogue file in the working directory.
  static void WriteDialogue(const std::string& path, const std::vector<datagen::DialogueEntry>& entries) {
    std::string error;
    ASSERT_TRUE(datagen::WriteDialogueFile(path, entries, error)) << error;
  }

  static std::pair<int, int> Position(HOBJECT sprite) {
    int x = -1, y = -1;
    GetSpritePosition(sprite, &x, &y);
    return {x, y};
  }

  CMenuAgency agency_;
};

}  // namespace uitest
