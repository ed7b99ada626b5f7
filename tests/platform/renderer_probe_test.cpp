#include "platform/renderer_probe.h"

#include <gtest/gtest.h>

namespace {

// Renderer strings as drivers report them: rasterisers on the processor
// against GPUs, some of which name the LLVM their shader compiler uses.
TEST(RendererProbe, TellsProcessorRasterisersFromGpus) {
  struct Case {
    const char* renderer;
    bool software;
  } cases[] = {
      {"llvmpipe (LLVM 15.0.6, 256 bits)", true},
      {"softpipe", true},
      {"Software Rasterizer", true},
      {"SWR (LLVM 6.0, 256 bits)", true},
      {"zink (llvmpipe (LLVM 15.0.6, 256 bits))", true},
      {"D3D12 (Microsoft Basic Render Driver)", true},
      {"AMD Radeon RX 580 Series (polaris10, LLVM 15.0.6, DRM 3.49, 6.1.0-13-amd64)", false},
      {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", false},
      {"NVIDIA GeForce GTX 1060 6GB/PCIe/SSE2", false},
      {"virgl (AMD Radeon RX 580)", false},
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(plat::native::IsSoftwareGlRenderer(c.renderer), c.software) << c.renderer;
}

// The test programs run on the dummy driver: no child is started and the
// answer is unknown at once.
TEST(RendererProbe, AHeadlessDriverAsksNothing) {
  plat::native::StartRendererProbe();
  EXPECT_EQ(plat::native::RendererProbeAnswer(), plat::native::RendererKind::Unknown);
}

}  // namespace
