#include "platform/device3d.h"

#include <algorithm>

#include "platform/device3d_internal.h"
#include "platform/raster/rasterizer.h"
#include "platform/test_caps.h"

namespace plat {
namespace {

Device3DEnvironment g_environment;
Live3DObjects g_live;
// Material handles are indices + 1 into this list; freed entries are reused.
// Never destroyed: a material may outlive every static at exit.
std::vector<Material3D*>& g_materials = *new std::vector<Material3D*>;

}  // namespace

Live3DObjects& Live3D() { return g_live; }

Device3DEnvironment& GetDevice3DEnvironment() { return g_environment; }
void ResetDevice3DEnvironment() { g_environment = Device3DEnvironment{}; }
Live3DObjects GetLive3DObjects() { return g_live; }

Material3D::Material3D() {
  auto free = std::find(g_materials.begin(), g_materials.end(), nullptr);
  if (free == g_materials.end()) free = g_materials.insert(free, nullptr);
  *free = this;
  handle_ = static_cast<uint32_t>(free - g_materials.begin()) + 1;
  ++g_live.materials;
}

Material3D::~Material3D() {
  g_materials[handle_ - 1] = nullptr;
  --g_live.materials;
}

const Material3D* Material3D::FromHandle(uint32_t handle) {
  return handle >= 1 && handle <= g_materials.size() ? g_materials[handle - 1] : nullptr;
}

Light3D::Light3D() { ++g_live.lights; }
Light3D::~Light3D() { --g_live.lights; }

Viewport3D::Viewport3D() { ++g_live.viewports; }

Viewport3D::~Viewport3D() {
  if (device_) device_->DeleteViewport(this);
  --g_live.viewports;
}

bool Viewport3D::SetViewport(const ViewportParams& params) {
  if (params.width < 0 || params.height < 0) return false;
  params_ = params;
  return true;
}

bool Viewport3D::Clear(const Rect& rect, uint32_t flags, uint32_t color, float depth) {
  if (!device_) return false;
  Rect r{std::max(rect.left, params_.x), std::max(rect.top, params_.y), std::min(rect.right, params_.x + params_.width),
         std::min(rect.bottom, params_.y + params_.height)};
  Surface& target = device_->Target();
  const auto& zbuffer = target.AttachedDepth();
  const bool clearTarget = (flags & kClearTarget) != 0, clearDepth = (flags & kClearZBuffer) && zbuffer;
  const uint32_t pixel = clearTarget ? PackColor(color, target.Describe().format) : 0;
  uint32_t z = 0;
  if (clearDepth) {
    int bits = zbuffer->Describe().format.bitsPerPixel;
    double top = bits >= 32 ? 4294967295.0 : double((uint64_t{1} << bits) - 1);
    z = static_cast<uint32_t>(std::clamp(static_cast<double>(depth), 0.0, 1.0) * top);
  }
  if (clearTarget && clearDepth) return target.FillWithDepth(r, pixel, z) == SurfaceResult::Ok;
  if (clearTarget && target.Fill(&r, pixel) != SurfaceResult::Ok) return false;
  return !clearDepth || zbuffer->Fill(&r, z) == SurfaceResult::Ok;
}

bool Viewport3D::AddLight(Light3D* light) {
  if (!light || std::find(lights_.begin(), lights_.end(), light) != lights_.end()) return false;
  lights_.push_back(light);
  return true;
}

bool Viewport3D::DeleteLight(Light3D* light) {
  auto it = std::find(lights_.begin(), lights_.end(), light);
  if (it == lights_.end()) return false;
  lights_.erase(it);
  return true;
}

Device3D::Device3D(std::shared_ptr<Surface> target)
    : target_(std::move(target)), rasterizer_(std::make_unique<raster::Rasterizer>()) {
  renderStates_[static_cast<int>(RenderState::CullMode)] = kCullCounterClockwise;
  ++g_live.devices;
}

Device3D::~Device3D() {
  for (Viewport3D* v : viewports_) v->device_ = nullptr;
  --g_live.devices;
}

Device3DCaps Device3D::Caps() const { return g_environment.caps; }

std::vector<TextureFormatInfo> Device3D::EnumerateTextureFormats() const { return g_environment.textureFormats; }

void Device3D::SetRenderState(RenderState state, uint32_t value) {
  renderStates_[static_cast<int>(state)] = value;
  if (state == RenderState::TextureMapBlend && value == kTextureBlendModulate) {
    SetStageState(0, StageState::ColorOp, kStageOpModulate);
    SetStageState(0, StageState::ColorArg1, kStageArgTexture);
    SetStageState(0, StageState::ColorArg2, kStageArgDiffuse);
    SetStageState(0, StageState::AlphaOp, kStageOpSelectArg1);
    SetStageState(0, StageState::AlphaArg1, kStageArgDiffuse);
  }
}
uint32_t Device3D::GetRenderState(RenderState state) const { return renderStates_[static_cast<int>(state)]; }
void Device3D::SetLightState(LightState state, uint32_t value) { lightStates_[static_cast<int>(state)] = value; }
uint32_t Device3D::GetLightState(LightState state) const { return lightStates_[static_cast<int>(state)]; }

void Device3D::SetStageState(int stage, StageState state, uint32_t value) {
  if (stage >= 0 && stage < kMaxTextureStages) stageStates_[stage][static_cast<int>(state)] = value;
}

uint32_t Device3D::GetStageState(int stage, StageState state) const {
  if (stage < 0 || stage >= kMaxTextureStages) return 0;
  return stageStates_[stage][static_cast<int>(state)];
}

bool Device3D::AddViewport(Viewport3D* viewport) {
  if (!viewport || viewport->device_ || ShouldFail(FailPoint::AddViewport3D)) return false;
  viewport->device_ = this;
  viewports_.push_back(viewport);
  return true;
}

void Device3D::DeleteViewport(Viewport3D* viewport) {
  auto it = std::find(viewports_.begin(), viewports_.end(), viewport);
  if (it == viewports_.end()) return;
  viewports_.erase(it);
  viewport->device_ = nullptr;
  if (current_ == viewport) current_ = nullptr;
}

bool Device3D::SetCurrentViewport(Viewport3D* viewport) {
  if (!viewport || viewport->device_ != this) return false;
  current_ = viewport;
  return true;
}

void Device3D::SetTransform(TransformState state, const Matrix& matrix) {
  transforms_[static_cast<int>(state)] = matrix;
}

const Matrix& Device3D::GetTransform(TransformState state) const { return transforms_[static_cast<int>(state)]; }

void Device3D::SetTexture(int stage, std::shared_ptr<Texture3D> texture) {
  if (stage >= 0 && stage < kMaxTextureStages) textures_[stage] = std::move(texture);
}

const Texture3D* Device3D::GetTexture(int stage) const {
  return stage >= 0 && stage < kMaxTextureStages ? textures_[stage].get() : nullptr;
}

bool Device3D::SetRenderTarget(std::shared_ptr<Surface> target) {
  if (!target || target->Describe().format.bitsPerPixel != 16 || target->Describe().format.palettised) return false;
  target_ = std::move(target);
  return true;
}

bool Device3D::BeginScene() {
  if (inScene_ || target_->IsLost()) return false;
  inScene_ = true;
  return true;
}

bool Device3D::EndScene() {
  if (!inScene_) return false;
  inScene_ = false;
  return true;
}

std::unique_ptr<Renderer3D> Renderer3D::Open(DisplayDevice&) {
  if (ShouldFail(FailPoint::Open3D)) return nullptr;
  ++g_live.renderers;
  return std::unique_ptr<Renderer3D>(new Renderer3D());
}

Renderer3D::~Renderer3D() { --g_live.renderers; }

std::vector<Device3DInfo> Renderer3D::EnumerateDevices() const { return g_environment.devices; }

std::vector<int> Renderer3D::EnumerateDepthFormats(int device) const {
  if (device < 0 || device >= static_cast<int>(g_environment.devices.size()) ||
      !g_environment.devices[device].depthBuffer)
    return {};
  return g_environment.depthFormats;
}

std::unique_ptr<Device3D> Renderer3D::CreateDevice(int device, std::shared_ptr<Surface> target) {
  if (device < 0 || device >= static_cast<int>(g_environment.devices.size()) || !target ||
      ShouldFail(FailPoint::CreateDevice3D))
    return nullptr;
  return std::unique_ptr<Device3D>(new Device3D(std::move(target)));
}

std::unique_ptr<Viewport3D> Renderer3D::CreateViewport() {
  if (ShouldFail(FailPoint::CreateViewport3D)) return nullptr;
  return std::make_unique<Viewport3D>();
}

std::unique_ptr<Light3D> Renderer3D::CreateLight() { return std::make_unique<Light3D>(); }

std::unique_ptr<Material3D> Renderer3D::CreateMaterial() { return std::make_unique<Material3D>(); }

}  // namespace plat
