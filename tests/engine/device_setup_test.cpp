#include <optional>
#include <string>

#include "engine/core/pixel_format.h"
#include "engine/core/pools.h"
#include "engine/core/viewports.h"
#include "tests/engine/engine_fixture.h"

namespace enginetest {
namespace {

using DeviceSetupTest = EngineTest;
using plat::RenderState;
using plat::StageState;

TEST_F(DeviceSetupTest, OpensFullScreenWithTheDefaultDevice) {
  ASSERT_EQ(Open(), 1);
  EXPECT_EQ(g_engineOpen, 1);
  EXPECT_EQ(GetPixelFormatCode(), 1);
  EXPECT_EQ(g_textureFormat, 1);
  EXPECT_EQ(std::string(g_gameWorld->title), kTitle);
  EXPECT_EQ(plat::GetWindowTitle(GetMainWindow()), kTitle);
  EXPECT_TRUE(g_gameWorld->displayDevice->DisplayModeSet());
  EXPECT_EQ(g_gameWorld->hardware3D, 1);
  EXPECT_EQ(g_gameWorld->depthBufferPresent, 1);
  EXPECT_EQ(g_depthBufferBits, 16);
  EXPECT_EQ(g_textureStageCount, 2);
  EXPECT_EQ(g_mipFilter, 0);
  EXPECT_EQ(g_timerFrequency, 1000000000u);
  EXPECT_EQ(g_meshVertexStride, 8);

  VIEWPORTDESC* v = g_gameWorld->defaultViewport;
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->index, 0);
  EXPECT_EQ(v->x, 0);
  EXPECT_EQ(v->y, 0);
  EXPECT_EQ(v->width, 640);
  EXPECT_EQ(v->height, 480);

  EXPECT_FLOAT_EQ(g_gameWorld->ambientRed, 0.3f);
  EXPECT_FLOAT_EQ(g_gameWorld->ambientGreen, 0.3f);
  EXPECT_FLOAT_EQ(g_gameWorld->ambientBlue, 0.3f);
  plat::Device3D& device = *g_gameWorld->device;
  EXPECT_EQ(device.GetLightState(plat::LightState::Ambient), 0x004C4C4Cu);

  struct State {
    RenderState state;
    uint32_t value;
  } states[] = {
      {RenderState::ShadeMode, plat::kShadeGouraud},
      {RenderState::TexturePerspective, 1},
      {RenderState::ZEnable, 1},
      {RenderState::ZWriteEnable, 1},
      {RenderState::ZFunc, plat::kCompareLessEqual},
      {RenderState::FillMode, plat::kFillSolid},
      {RenderState::DitherEnable, 1},
      {RenderState::SpecularEnable, 0},
      {RenderState::AntiAlias, 0},
      {RenderState::FogEnable, 0},
      {RenderState::FogColor, 0},
      {RenderState::AlphaTestEnable, 1},
      {RenderState::AlphaRef, 8},
      {RenderState::AlphaFunc, plat::kCompareGreaterEqual},
      {RenderState::AlphaBlendEnable, 0},
      {RenderState::ColorKeyEnable, 1},
      {RenderState::SrcBlend, plat::kBlendSourceAlpha},
      {RenderState::DestBlend, plat::kBlendInverseSourceAlpha},
      {RenderState::TextureMapBlend, plat::kTextureBlendModulate},
  };
  for (const State& s : states) EXPECT_EQ(device.GetRenderState(s.state), s.value) << static_cast<int>(s.state);

  struct Stage {
    int stage;
    StageState state;
    uint32_t value;
  } stages[] = {
      {0, StageState::MinFilter, plat::kFilterLinear},    {0, StageState::MagFilter, plat::kFilterLinear},
      {0, StageState::Address, plat::kAddressWrap},       {0, StageState::ColorOp, plat::kStageOpModulate},
      {0, StageState::ColorArg1, plat::kStageArgTexture}, {0, StageState::ColorArg2, plat::kStageArgDiffuse},
      {0, StageState::AlphaOp, plat::kStageOpSelectArg1}, {0, StageState::AlphaArg1, plat::kStageArgDiffuse},
      {1, StageState::MinFilter, plat::kFilterLinear},    {1, StageState::MagFilter, plat::kFilterLinear},
      {1, StageState::Address, plat::kAddressWrap},       {1, StageState::ColorOp, plat::kStageOpDisable},
      {1, StageState::AlphaOp, plat::kStageOpDisable},
  };
  for (const Stage& s : stages)
    EXPECT_EQ(device.GetStageState(s.stage, s.state), s.value) << s.stage << " " << static_cast<int>(s.state);

  int lights = 0;
  for (DEVICELIGHTDESC* light : g_gameWorld->deviceLights) {
    ASSERT_NE(light, nullptr);
    EXPECT_EQ(light->light->Get().type, plat::LightType::Directional);
    EXPECT_TRUE(light->light->Get().active);
    ++lights;
  }
  EXPECT_EQ(lights, 64);
}

TEST_F(DeviceSetupTest, DeviceCapsShapeTheStates) {
  plat::Device3DEnvironment& env = plat::GetDevice3DEnvironment();
  env.caps.alphaCompareGreaterEqual = false;
  env.caps.mipFilter = plat::MipFilterCaps::Point;
  env.caps.modulate = false;
  env.depthFormats = {24, 32};
  ASSERT_EQ(Open(), 1);
  EXPECT_EQ(g_gameWorld->device->GetRenderState(RenderState::AlphaTestEnable), 0u);
  EXPECT_EQ(g_mipFilter, 1);
  EXPECT_EQ(g_textureStageCount, 1);
  EXPECT_EQ(g_depthBufferBits, 32);
}

TEST_F(DeviceSetupTest, NoDepthBufferLeavesDepthTestOff) {
  plat::GetDevice3DEnvironment().depthFormats.clear();
  ASSERT_EQ(Open(), 1);
  EXPECT_EQ(g_gameWorld->depthBufferPresent, 0);
  EXPECT_EQ(g_gameWorld->device->GetRenderState(RenderState::ZEnable), 0u);
}

TEST_F(DeviceSetupTest, PixelFormatCodeFollowsTheDisplay) {
  struct Case {
    bool rgb555;
    int code;
  } cases[] = {{false, 1}, {true, 3}};
  for (const Case& c : cases) {
    plat::GetDisplayEnvironment().rgb555 = c.rgb555;
    ASSERT_EQ(Open(), 1);
    EXPECT_EQ(GetPixelFormatCode(), c.code);
    EXPECT_EQ(g_textureFormat, c.code);  // the texture layout follows the screen's
    CloseEngine(1);
    SetQuitFlag(0);
  }
}

TEST_F(DeviceSetupTest, UnlistedModesFallBackTo640By480) {
  struct Case {
    int renderMode;
    int width;
    std::vector<plat::DisplayMode> modes;
    int depth;
    int code;
  } cases[] = {
      {1, 800, {{640, 480, 16}, {640, 480, 8}}, 16, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.renderMode);
    SetRenderMode(c.renderMode);
    plat::GetDisplayEnvironment().modes = c.modes;
    ASSERT_EQ(OpenEngine(1, kTitle, c.width, c.width * 3 / 4, 16), 1);
    EXPECT_EQ(g_gameWorld->width, 640);
    EXPECT_EQ(g_gameWorld->height, 480);
    EXPECT_EQ(g_screenDepth, c.depth);
    EXPECT_EQ(GetPixelFormatCode(), c.code);
    CloseEngine(1);
    SetQuitFlag(0);
  }
}

TEST_F(DeviceSetupTest, SoftwarePathCutsTheScreenAndKeepsItsOwnDepth) {
  SetRenderMode(0);
  ASSERT_EQ(Open(1, 800, 600), 1);
  EXPECT_EQ(g_useDirect3D, 0);
  EXPECT_EQ(g_gameWorld->width, 640);
  EXPECT_EQ(g_gameWorld->height, 480);
  EXPECT_EQ(g_gameWorld->device, nullptr);
  EXPECT_EQ(g_gameWorld->depthBufferPresent, 1);
  VIEWPORTDESC* v = g_gameWorld->defaultViewport;
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->depthBuffer.size(), 640u * 480u);
  EXPECT_EQ(v->deviceViewport, nullptr);
  EXPECT_NEAR(g_gameWorld->softAmbient, 0.3f, 1e-6);
  EXPECT_NE(g_gameWorld->softLights[63], nullptr);
}

TEST_F(DeviceSetupTest, WindowedEngineUsesTheDesktop) {
  ASSERT_EQ(Open(0), 1);
  EXPECT_EQ(g_fullscreen, 0);
  EXPECT_FALSE(g_gameWorld->displayDevice->DisplayModeSet());
  EXPECT_EQ(g_gameWorld->backBuffer->Describe().width, 640);
  CloseEngine(1);
  SetQuitFlag(0);

  // A window that cannot share the desktop takes the whole screen instead.
  plat::SetFailPoint(plat::FailPoint::CreateOffscreenSurface);
  ASSERT_EQ(Open(0), 1);
  EXPECT_EQ(g_fullscreen, 1);
  EXPECT_TRUE(g_gameWorld->displayDevice->DisplayModeSet());
}

TEST_F(DeviceSetupTest, DisplayDeviceChoice) {
  plat::GetDisplayEnvironment().devices = {{"one", "first", true, true}, {"two", "second", true, true}};
  struct Case {
    int selected;
    int chosen;
    int fullscreen;
  } cases[] = {{2, 0, 0}, {1, 1, 1}, {-1, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.selected);
    SelectDisplayDevice(c.selected);
    ASSERT_EQ(Open(0), 1);
    EXPECT_EQ(g_selectedDisplayDevice, c.chosen);
    EXPECT_EQ(g_fullscreen, c.fullscreen);
    CloseEngine(1);
    SetQuitFlag(0);
  }
  int count = 0;
  EXPECT_EQ(DetectHardware3D(&count), 1);
  EXPECT_EQ(count, 2);
  EXPECT_STREQ(g_displayDevices[1].description, "second");
}

TEST_F(DeviceSetupTest, SetUpFailuresAreReportedAndUndone) {
  using plat::FailPoint;
  struct Case {
    const char* message;
    std::optional<FailPoint> point;
    int succeedFirst = 0;
    int fullscreen = 1;
  } cases[] = {
      {"Can't create a graphics window", FailPoint::CreateWindow},
      {"None of graphics cards supports DirectX", FailPoint::OpenDisplayDevice},
      {"Fail to query DirectDraw4 object", FailPoint::OpenDisplayDevice, 1},
      {"No more to support 8-bit color depth in Qarvel System", std::nullopt, 0, 0},
      {"Fail to set fullscreen mode", FailPoint::ExclusiveCooperativeLevel},
      {"Fail to set display mode", FailPoint::SetDisplayMode},
      {"Fail to create frame buffers", FailPoint::CreatePrimarySurface},
      {"Fail to query Direct3D3 object", FailPoint::Open3D},
      {"Fail to get Direct3D hardware rendering device", std::nullopt},
      {"Fail to get Direct3D software rendering device", std::nullopt},
      {"Fail to create Z Buffer", FailPoint::CreateDepthSurface},
      {"Fail to attach Z Buffer to rendering surface", FailPoint::AttachDepthSurface},
      {"Fail to create Direct3D device", FailPoint::CreateDevice3D},
      {"Fail to search a proper texture format", std::nullopt},
      {"Fail to create default viewport", FailPoint::CreateViewport3D},
      {"Fail to create default viewport", FailPoint::AddViewport3D},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    plat::ResetDisplayEnvironment();
    plat::ResetDevice3DEnvironment();
    plat::ClearFailPoints();
    SetRenderMode(1);
    SelectDisplayDevice(-1);
    g_displayDeviceCount = 0;
    std::string message = c.message;
    if (c.point) plat::SetFailPoint(*c.point, c.succeedFirst);
    if (message.find("8-bit") != std::string::npos) plat::GetDisplayEnvironment().desktopBitsPerPixel = 8;
    if (message.find("hardware rendering") != std::string::npos)
      plat::GetDevice3DEnvironment().devices = {{"software only", false, true}};
    if (message.find("software rendering") != std::string::npos) {
      // The primary display has no 3D hardware, another one has.
      plat::GetDisplayEnvironment().devices = {{"a", "plain", false, true}, {"b", "3D", true, true}};
      SelectDisplayDevice(0);
    }
    if (message.find("texture format") != std::string::npos)
      plat::GetDevice3DEnvironment().textureFormats = {{{16, 0x0F00, 0x00F0, 0x000F, 0xF000, false}, true}};

    testsupport::MessageBoxCapture boxes;
    EXPECT_EQ(Open(c.fullscreen), 0);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_TRUE(boxes.Contains("Error message", c.message));
    EXPECT_EQ(boxes.Boxes()[1].text, "Can't create the game world (W01)");
    EXPECT_EQ(g_engineOpen, 0);
    EXPECT_EQ(g_gameWorld, nullptr);
    EXPECT_EQ(plat::WindowCount(), 0);
    EXPECT_EQ(plat::LiveSurfaceCount(), 0);
    EXPECT_EQ(plat::LiveDisplayDeviceCount(), 0);
    plat::Live3DObjects live = plat::GetLive3DObjects();
    EXPECT_EQ(live.renderers + live.devices + live.viewports + live.lights, 0);
  }
}

TEST_F(DeviceSetupTest, OldDirectXIsFatal) {
  plat::GetDisplayEnvironment().directXVersion = 0x0500;
  EXPECT_EQ(Open(), 0);
  EXPECT_TRUE(boxes_.Contains("Fatal message", "This Application needs DirectX 6.0 or higher"));
  EXPECT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(plat::WindowCount(), 0);
}

TEST_F(DeviceSetupTest, TitlesAreCutAt79Characters) {
  std::string title79(79, 't');
  ASSERT_EQ(OpenEngine(1, title79.c_str(), 640, 480, 16), 1);
  EXPECT_EQ(std::string(g_gameWorld->title), title79);
  CloseEngine(1);
  SetQuitFlag(0);
  std::string title100(100, 'u');
  ASSERT_EQ(OpenEngine(1, title100.c_str(), 640, 480, 16), 1);
  EXPECT_EQ(std::string(g_gameWorld->title), std::string(79, 'u'));
}

}  // namespace
}  // namespace enginetest
