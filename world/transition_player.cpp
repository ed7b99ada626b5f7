#include "world/transition_player.h"

#include "base/debug_trace.h"
#include "engine/core/engine_queries.h"
#include "engine/core/materials.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_states.h"
#include "engine/core/nodes.h"
#include "engine/core/viewport_render.h"
#include "engine/core/viewports.h"
#include "engine/media/screen.h"
#include "engine/media/sound_table.h"
#include "platform/crt.h"
#include "platform/gdi2d.h"
#include "world/transition_effects.h"
#include "world/world_map_pixels.h"

namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr int kImageSide = 256;
constexpr int kBannerLeft = 201;
constexpr int kBannerTop = 347;
constexpr int kBannerWidth = 420;
constexpr int kBannerHeight = 128;
constexpr int kRandomTypes = 6;

bool Is565(int code) { return code == 1; }
bool Is555(int code) { return code == 3; }

void UnpackToBgr(uint16_t pixel, bool fiveFiveFive, uint8_t* bgr) {
  const uint32_t rgb = fiveFiveFive ? UnpackPixel555(pixel) : UnpackPixel565(pixel);
  bgr[0] = static_cast<uint8_t>(rgb);
  bgr[1] = static_cast<uint8_t>(rgb >> 8);
  bgr[2] = static_cast<uint8_t>(rgb >> 16);
}

uint16_t PackFromBgr(const uint8_t* bgr, bool fiveFiveFive) {
  if (fiveFiveFive) return static_cast<uint16_t>(((bgr[2] >> 3) << 10) | ((bgr[1] >> 3) << 5) | (bgr[0] >> 3));
  return static_cast<uint16_t>(((bgr[2] >> 3) << 11) | ((bgr[1] >> 2) << 5) | (bgr[0] >> 3));
}

std::unique_ptr<STransBase> MakeEffect(int type, const uint16_t* image, const char** cue) {
  switch (type) {
    case 0: *cue = "movebreak"; return std::make_unique<STransMoveExplode>(image);
    case 1: *cue = "break"; return std::make_unique<STrans1>(image);
    case 2: *cue = "break"; return std::make_unique<STrans2>(image);
    case 3: *cue = "break"; return std::make_unique<STrans3>(image);
    case 4: *cue = "break"; return std::make_unique<STransExplodeDrop>(image);
    case 5: *cue = "move"; return std::make_unique<STransRotate>(image, 0);
    default: *cue = "fbr"; return std::make_unique<STransFBR>(image);
  }
}

}  // namespace

std::vector<uint16_t> ShrinkScreenCopy(const std::vector<uint8_t>& screenCopy, int formatCode) {
  const bool supported = Is565(formatCode) || Is555(formatCode);
  if (!supported) DebugTrace("Not supported pixel format !\n");
  std::vector<uint16_t> out(static_cast<size_t>(kImageSide) * kImageSide, 0);
  const size_t pixels = static_cast<size_t>(kScreenWidth) * kScreenHeight;
  if (!supported || screenCopy.size() < pixels * 2) return out;
  std::vector<uint8_t> wide(pixels * 3);
  for (size_t i = 0; i < pixels; ++i) {
    const uint16_t pixel = static_cast<uint16_t>(screenCopy[2 * i] | (screenCopy[2 * i + 1] << 8));
    UnpackToBgr(pixel, Is555(formatCode), &wide[3 * i]);
  }
  std::vector<uint8_t> small(static_cast<size_t>(kImageSide) * kImageSide * 3);
  const plat::PixelSource source{wide.data(), kScreenWidth, kScreenHeight, kScreenWidth * 3, plat::PixelLayout::Bgr24};
  const plat::PixelTarget target{small.data(), kImageSide, kImageSide, kImageSide * 3, plat::PixelLayout::Bgr24};
  if (!plat::StretchHalftone(source, target)) return out;
  for (size_t i = 0; i < out.size(); ++i) out[i] = PackFromBgr(&small[3 * i], Is555(formatCode));
  return out;
}

CTransitionPlayer::CTransitionPlayer() = default;

CTransitionPlayer::~CTransitionPlayer() {
  transition.reset();
  if (waveCue) FreeSound(waveCue);
  if (banner) DestroyNode(banner);
  if (bannerMaterial) DestroyMaterial(bannerMaterial);
  if (bannerViewport) DestroyViewport(bannerViewport);
}

void CTransitionPlayer::GrabScreen() { ReadScreenRect(screenCopy, 0, 0, kScreenWidth, kScreenHeight); }

void CTransitionPlayer::StartRandom() {
  Start(plat::Rand() % kRandomTypes);
  idle = 0;
  frameCount = 0;
}

void CTransitionPlayer::CreateBanner() {
  const float black[3] = {0, 0, 0};
  bannerMaterial = CreateMaterial(black, black, black, black, 32, "loadt", 1, 0, 0, 0, 0);
  BeginNode(NODE_MESH);
  SetMeshFlags(0, MESH_PRETRANSFORMED);
  const float l = kBannerLeft, t = kBannerTop;
  const float r = kBannerLeft + kBannerWidth, b = kBannerTop + kBannerHeight;
  const float positions[16] = {l, t, 0, 1, l, b, 0, 1, r, b, 0, 1, r, t, 0, 1};
  const float colours[12] = {};
  const float uvs[8] = {0, 1, 0, 0, 1, 0, 1, 1};
  AddMeshPolygon(0, positions, colours, uvs, 4, bannerMaterial, 0);
  banner = EndNode(0);
  SetNodeRenderState(banner, 4, 0);
  SetNodeRenderState(banner, 19, 1);
}

int CTransitionPlayer::Start(int type) {
  if (type < 0 || type >= kTypes) return -2;
  transition.reset();
  if (waveCue) FreeSound(waveCue);
  waveCue = 0;
  if (!bannerViewport) bannerViewport = CreateViewport(kBannerLeft, kBannerTop, kBannerWidth, kBannerHeight);
  if (!banner) CreateBanner();
  SetNodeAlpha(banner, 0);
  if (screenCopy.empty()) return -1;
  const char* cue = nullptr;
  {
    const std::vector<uint16_t> image = ShrinkScreenCopy(screenCopy, GetPixelFormatCode());
    transition = MakeEffect(type, image.data(), &cue);
  }
  transition->Reset();
  waveCue = LoadSound(cue);
  savedCamera = GetCurrentCamera();
  if (const HOBJECT camera = transition->GetCamera()) {
    SetViewportCamera(0, camera);
    SetViewportCamera(bannerViewport, camera);
  }
  if (waveCue) StartSound(waveCue, 0);
  return 0;
}

void CTransitionPlayer::Finish() {
  transition.reset();
  idle = 1;
  if (banner) DestroyNode(banner);
  banner = 0;
  if (bannerMaterial) DestroyMaterial(bannerMaterial);
  bannerMaterial = 0;
  if (bannerViewport) DestroyViewport(bannerViewport);
  bannerViewport = 0;
  if (savedCamera) SetViewportCamera(0, savedCamera);
  savedCamera = 0;
}

int CTransitionPlayer::Step() {
  if (idle) return -3;
  // Started without a screen copy there is no effect: it ends at once.
  const int result = transition ? transition->Step() : -2;
  ++frameCount;
  const float opacity = frameCount >= kBannerFrames ? 1.0f : static_cast<float>(frameCount) / kBannerFrames;
  if (banner) SetNodeAlpha(banner, opacity);
  if (result == -2) Finish();
  return result;
}

void CTransitionPlayer::Render() {
  if (idle) return;
  ShowNode(banner, 1);
  if (transition) transition->Show(0);
  RenderViewport(bannerViewport, 0, 1);
  if (transition) transition->Show(1);
  ShowNode(banner, 0);
  RenderViewport(0, 0, 1);
}
