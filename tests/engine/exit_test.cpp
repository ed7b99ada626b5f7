// Leaving the program while the engine is open (an exception, an early
// return): nothing static owns an engine object, so exit is safe in any state.
#include <cstdlib>

#include "engine/core/materials.h"
#include "engine/core/viewport_render.h"
#include "engine/media/screen.h"
#include "engine/media/sound_table.h"
#include "engine/media/sprites.h"
#include "tests/engine/engine_fixture.h"
#include "tools/datagen/wave_writer.h"

namespace enginetest {
namespace {

using ExitTest = EngineTest;

void OpenAndUseEverything(int direct3D) {
  SetRenderMode(direct3D);
  if (OpenEngine(1, kTitle, 640, 480, 16) != 1) std::_Exit(3);
  const float grey[3] = {0.5f, 0.5f, 0.5f};
  CreateMaterial(grey, grey, grey, grey, 1, nullptr, 0, 0, 0, 0, 0);
  datagen::WaveSpec wave;
  wave.samples = datagen::ConstantSamples(100, 1, 1000);
  datagen::WriteWave("beep.wav", wave);
  StartSound(LoadSound("beep"), 0);
  BeginSprite(0);
  SetSpriteBlankImage(1, 1, 1, 8, 8);
  EndSprite(0);
  RenderViewport(0, 1, 1);
  FlipScreen();
  RunMainLoopPass(1);
  std::exit(0);  // no CloseEngine
}

TEST_F(ExitTest, LeavingWithTheEngineOpenEndsCleanly) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  testsupport::ScopedWorkDir dir;
  for (int direct3D : {1, 0}) EXPECT_EXIT(OpenAndUseEverything(direct3D), ::testing::ExitedWithCode(0), "") << direct3D;
}

}  // namespace
}  // namespace enginetest
