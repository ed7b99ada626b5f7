#include "battle/after_image.h"

#include "battle/tarnwick.h"

namespace {

constexpr float kGoneOpacity = 0.03f;
CAfterImage* g_afterImage = nullptr;

}  // namespace

CAfterImage* CAfterImage::Instance() {
  if (!g_afterImage) g_afterImage = new CAfterImage();
  return g_afterImage;
}

void CAfterImage::Destroy() {
  delete g_afterImage;
  g_afterImage = nullptr;
}

void CAfterImage::MakeClone() {
  AFTERIMAGECLONE entry;
  if (desc.life >= 0) {
    auto clone = std::make_unique<CTarnwick>();
    if (desc.body->ShareWith(clone.get())) entry.clone = std::move(clone);
    entry.framesLeft = entry.life = desc.life;
  }
  desc.clones.push_back(std::move(entry));
}

int CAfterImage::Update(int frames) {
  if (desc.body) {
    accumulator += frames;
    if (accumulator >= desc.period) {
      MakeClone();
      accumulator = 0;
    }
  } else {
    accumulator = 0;
  }
  for (auto it = desc.clones.begin(); it != desc.clones.end();) {
    it->framesLeft -= frames;
    if (it->framesLeft > 0 && it->clone && it->life > 0) {
      const float opacity = static_cast<float>(it->framesLeft) / static_cast<float>(it->life);
      it->clone->SetOpacity(opacity);
      if (opacity < kGoneOpacity) it->framesLeft = 0;
      ++it;
    } else {
      it = desc.clones.erase(it);
    }
  }
  return static_cast<int>(desc.clones.size());
}
