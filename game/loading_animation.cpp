#include "game/loading_animation.h"

#include <algorithm>

#include "engine/media/screen.h"
#include "engine/media/sprites.h"
#include "game/picture_sprite.h"
#include "platform/time.h"

HOBJECT g_loadingSprite = 0;

void CreateLoadingSprite() {
  g_loadingSprite = CreatePictureSprite(201, 347, 420, 128, "loading");
  if (!g_loadingSprite) return;
  SetSpriteDepth(g_loadingSprite, 0, 0, 2);
  ShowSprite(g_loadingSprite, 0);
}

CLoadingAnimation::CLoadingAnimation() {
  timer.SetRate(kRate);
  if (g_loadingSprite) ShowSprite(g_loadingSprite, 1);
}

CLoadingAnimation::~CLoadingAnimation() { StopWorker(); }

void CLoadingAnimation::StartWorker() {
  if (g_loadingSprite) ShowSprite(g_loadingSprite, 1);
  frame = 0;
  timer.Reset();
  timer.SetRate(kRate);
  worker_.Stop();
  lookStart_ = plat::QueryCounter();
  worker_.Start([this](const std::atomic<bool>& stop) { Loop(this, stop); });
}

void CLoadingAnimation::StopWorker() {
  if (g_loadingSprite) ShowSprite(g_loadingSprite, 0);
  worker_.Stop();
}

int CLoadingAnimation::Loop(CLoadingAnimation* animation, const std::atomic<bool>& stop) {
  if (!animation) return -1;
  while (!stop) {
    if (animation->timer.Tick() > 0) {
      plat::DisplayLock lock;
      // The stop may have come while this thread waited for the lock.
      if (stop) break;
      animation->frame = 0;
      if (g_loadingSprite) SetSpriteFrame(g_loadingSprite, &animation->frame, nullptr, nullptr);
      DrawSprites(0, 1);
      FlipScreen();
      ++animation->presents;
    }
    // Late looks skip the periods they missed rather than crowd together.
    const uint64_t period = std::max<uint64_t>(plat::QueryFrequency() * kLookMs / 1000, 1);
    const uint64_t start = animation->lookStart_;
    const uint64_t now = plat::QueryCounter();
    const uint64_t looks = now > start ? (now - start) / period + 1 : 1;
    plat::WaitForStopUntil(stop, start + looks * period);
  }
  return 0;
}
