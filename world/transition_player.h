#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/core/handles.h"

class STransBase;

// The three-dimensional screen transition that opens a battle: the last
// screen image breaks apart over a "loadt" banner that fades in.
class CTransitionPlayer {
 public:
  static constexpr int kTypes = 7;
  static constexpr int kBannerFrames = 30;

  CTransitionPlayer();
  ~CTransitionPlayer();
  CTransitionPlayer(const CTransitionPlayer&) = delete;
  CTransitionPlayer& operator=(const CTransitionPlayer&) = delete;

  // Copies the back buffer (0, 0, 640, 480).
  void GrabScreen();
  // One of the types 0 to 5; the player is busy afterwards even without a
  // screen copy (then the next step ends it).
  void StartRandom();
  // 0; -1 without a screen copy (after the banner set-up); -2 for a type
  // outside 0..6.
  int Start(int type);
  // -3 when idle; else 0 running or -2 finished (the player is then idle).
  int Step();
  // The banner in its viewport, then the effect in the default viewport.
  void Render();

  std::unique_ptr<STransBase> transition;
  std::vector<uint8_t> screenCopy;  // 640 x 480 16-bit pixels once grabbed
  HOBJECT waveCue = 0;
  int idle = 1;
  HOBJECT banner = 0;
  HOBJECT bannerMaterial = 0;
  int frameCount = 0;
  HOBJECT bannerViewport = 0;
  HOBJECT savedCamera = 0;

 private:
  void CreateBanner();
  void Finish();
};

// The 640 x 480 16-bit screen copy halftone-stretched to 256 x 256 pixels in
// the display's format (pixel format code 1 is 5-6-5, 3 is 5-5-5); any other
// code gives black and a trace line.
std::vector<uint16_t> ShrinkScreenCopy(const std::vector<uint8_t>& screenCopy, int formatCode);
