#pragma once
#include <string>
#include <vector>

#include "tests/ui/overlay_fixture.h"
#include "ui/dialog_player.h"
#include "ui/dialog_player_ex.h"

namespace uitest {

struct Glyph {
  std::string text;
  int x, y, red, green, blue;
  bool operator==(const Glyph&) const = default;
};

// A dialogue box that also records every character it draws.
template <class Box>
class RecordingBox : public Box {
 public:
  using Box::Box;
  void DrawGlyph(const uint8_t* character, int length, int x, int y, int red, int green, int blue) override {
    glyphs.push_back({std::string(reinterpret_cast<const char*>(character), length), x, y, red, green, blue});
    Box::DrawGlyph(character, length, x, y, red, green, blue);
  }
  // The characters drawn, in order.
  std::string Text() const {
    std::string text;
    for (const Glyph& glyph : glyphs) text += glyph.text;
    return text;
  }
  std::vector<Glyph> glyphs;
};

using Box = RecordingBox<CDialogPlayer>;
using ChoiceBox = RecordingBox<CDialogPlayerEx>;

class DialogTest : public OverlayTest {
 protected:
  static constexpr const char* kFile = "test.dlg";

  uint16_t Key() const { return static_cast<uint16_t>(MapRGB(0, 0, 255)); }
  // Pixels of the box's panel that show something.
  int Inked(const CDialogPlayer& box) {
    int width = 0, height = 0;
    GetSpriteSize(box.panel, &width, &height);
    return CountNot(box.panel, Key(), 0, 0, width, height);
  }
  static bool NodeShown(HOBJECT node);
  // Pixels of one colour in a sprite's first frame.
  static int CountColour(HOBJECT sprite, int red, int green, int blue) {
    int width = 0, height = 0;
    GetSpriteSize(sprite, &width, &height);
    const uint16_t colour = static_cast<uint16_t>(MapRGB(red, green, blue));
    int count = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) count += SpritePixel(sprite, x, y) == colour;
    return count;
  }
};

}  // namespace uitest
