#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine/media/screen.h"
#include "engine/media/sprite_images.h"
#include "engine/media/sprites.h"
#include "tests/sound/sound_fixture.h"
#include "tools/datagen/bitmap_writer.h"
#include "ui/qmz/sp_control.h"
#include "ui/qmz/sp_kernel.h"
#include "ui/qmz/sprite_wnd.h"

namespace qmztest {

// A window that records every message it handles as (code, a, b).
template <typename Base>
class Recording : public Base {
 public:
  int OnMessage(int code, qmz::SPARG a, qmz::SPARG b, qmz::SPARG c = 0, qmz::SPARG d = 0) override {
    messages.push_back({code, static_cast<int>(a), static_cast<int>(b)});
    return Base::OnMessage(code, a, b, c, d);
  }
  void OnClick(int x, int y) override {
    ++clicks;
    Base::OnClick(x, y);
  }
  int Count(int code) const {
    int n = 0;
    for (const auto& m : messages) n += m[0] == code;
    return n;
  }
  std::vector<std::array<int, 3>> messages;
  int clicks = 0;
};
using RecordingWnd = Recording<qmz::CSpriteWnd>;

// A parent control that records the notifications of its children as
// (handler, id).
class ParentControl : public qmz::CSpControl {
 public:
  void OnChildDown(int id, int, int) override { log.push_back({"down", id}); }
  void OnChildUp(int id, int, int) override { log.push_back({"up", id}); }
  void OnChildClick(int id) override { log.push_back({"click", id}); }
  void OnChildCheck(int id) override { log.push_back({"check", id}); }
  void OnChildAfterUp(int id, int, int) override { log.push_back({"after up", id}); }
  void OnChildSpare(int id, int, int) override { log.push_back({"spare", id}); }
  void OnChildAfterClick(int id) override { log.push_back({"after click", id}); }
  void OnChildOwner0C(int id) override { log.push_back({"0C", id}); }
  void OnChildOwner11(int id) override { log.push_back({"11", id}); }
  void OnChildOwner12(int id) override { log.push_back({"12", id}); }
  void OnChildOwner13(int id, int, int) override { log.push_back({"13", id}); }
  void OnChildOwner14(int id, int, int) override { log.push_back({"14", id}); }
  void OnChildOwner18000(int id, int, int) override { log.push_back({"18000", id}); }
  std::vector<std::pair<std::string, int>> log;
};

// The engine open with the mixer stepped by the test, in a fresh working
// directory; the kernel's UI sounds are freed before the engine closes.
class QmzTest : public soundtest::SoundTest {
 protected:
  QmzTest() {
    EXPECT_EQ(Open(), 1);
    baseZ_ = qmz::g_spKernel.ZCounter();
  }
  ~QmzTest() override {
    qmz::ReleaseSpSounds();
    EXPECT_EQ(qmz::g_spKernel.ZCounter(), baseZ_) << "every window unregistered";
  }

  // A 24-bit bitmap of one colour (0xBBGGRR), width a multiple of 4.
  static void WriteImage(const std::string& name, int width, int height, int32_t colour) {
    datagen::BitmapDesc bitmap;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.bitCount = 24;
    bitmap.forSprites = true;
    for (int i = 0; i < width * height; ++i)
      bitmap.pixels.insert(bitmap.pixels.end(), {static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8),
                                                 static_cast<uint8_t>(colour)});
    plat::ByteWriter out;
    std::string error;
    ASSERT_TRUE(datagen::WriteBitmap(bitmap, out, error)) << error;
    ASSERT_TRUE(plat::WriteFileAtomic(name + ".bmp", out.Bytes().data(), out.Size()));
  }

  static bool Visible(HOBJECT sprite) {
    SPRITEDESC* record = LookupSprite(sprite);
    return sprite && record && record->visible;
  }
  static int Layer(HOBJECT sprite) {
    int layer = -1;
    GetSpriteDepth(sprite, nullptr, nullptr, &layer);
    return layer;
  }
  static std::pair<int, int> Position(HOBJECT sprite) {
    int x = -1, y = -1;
    GetSpritePosition(sprite, &x, &y);
    return {x, y};
  }

  // Pixels of a sprite's first frame, row by row.
  static std::vector<std::vector<uint16_t>> Pixels(HOBJECT sprite) {
    int width = 0, height = 0;
    GetSpriteSize(sprite, &width, &height);
    std::vector<std::vector<uint16_t>> rows(height, std::vector<uint16_t>(width));
    auto* bytes = static_cast<uint8_t*>(LockSprite(sprite, 0));
    if (!bytes) return {};
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) rows[y][x] = *reinterpret_cast<uint16_t*>(bytes + y * g_spriteLockPitch + 2 * x);
    UnlockSprite(sprite, 0);
    return rows;
  }
  static int CountPixels(HOBJECT sprite, uint16_t pixel) {
    int n = 0;
    for (const auto& row : Pixels(sprite))
      for (uint16_t p : row) n += p == pixel;
    return n;
  }

  int baseZ_ = 0;
};

}  // namespace qmztest
