#pragma once
// Which graphics library would show our frames: a GPU, or a rasteriser on the
// processor (Mesa's llvmpipe under Xvfb or on a machine without a GPU). The
// latter costs far more than copying the finished 16-bit image to the window
// ourselves, so the presenter then does without it.
#include <string>

namespace plat::native {

// Whether a graphics library's renderer string names a rasteriser that runs
// on the processor.
bool IsSoftwareGlRenderer(const std::string& renderer);

enum class RendererKind { Unknown, Pending, Gpu, Processor };

// Asks, in a child process, which renderer the graphics library offers: the
// library's memory and threads then never come into this process. Must run
// before SDL's video starts; does nothing while other threads run (a fork
// would copy their locks), under a headless video driver, or when the player
// chose SDL's render driver himself.
void StartRendererProbe();
// The child's answer without waiting for it: Pending while it works; Unknown
// without a probe, or when it found no display or did not answer in time.
RendererKind RendererProbeAnswer();

}  // namespace plat::native
