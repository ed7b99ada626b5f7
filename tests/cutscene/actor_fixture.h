#pragma once
#include <gtest/gtest.h>

#include <string>

#include "cutscene/actor_factory.h"
#include "cutscene/sg_society.h"
#include "engine/core/terrain.h"
#include "engine/media/data_directories.h"
#include "engine/media/packages.h"
#include "engine/media/sprites.h"
#include "tests/engine/engine_fixture.h"
#include "tests/support/captures.h"
#include "tests/support/terrain_grid.h"
#include "tools/datagen/sample_world.h"
#include "tools/datagen/sample_world_parts.h"
#include "ui/dialog_player_ex.h"
#include "ui/menu_agency.h"

namespace cstest {

// The game's own actors on an open engine, in a working directory holding the
// sample world's creatures, textures, images, sounds and dialogue.
class RealActorTest : public enginetest::EngineTest {
 protected:
  void SetUp() override {
    SetActorFactory(nullptr);
    ASSERT_EQ(Open(), 1);
    std::string error;
    ASSERT_TRUE(datagen::WriteSampleWorld("./", error)) << error;
    SetTextureDirectory("texture");
    SetImageDirectory("image");
    SetSoundDirectory("waves");
    OpenTexturePackage("sample");
  }
  void TearDown() override { SGSociety::Shutdown(); }

  // A flat square terrain of 20 x 20 cells of 10 at height 0 around the origin.
  void MakeGround() {
    groundMesh_ = testsupport::MakeGridMesh(-100, -100, 10, 20, 0);
    ground_ = CreateTerrain(groundMesh_, 1, 1);
    ASSERT_NE(ground_, 0u);
  }

  // Points at an answer of the open choice box and clicks it, through the overlay.
  static void ClickAnswer(CDialogPlayerEx* box, int answer) {
    int x = 0, y = 0;
    GetSpritePosition(box->choiceSprites[answer], &x, &y);
    g_menuAgency.OnMouseMove(x + 4, y + 4);
    g_menuAgency.OnLButtonDown(x + 4, y + 4);
  }

  testsupport::ScopedWorkDir workDir_;
  HOBJECT groundMesh_ = 0;
  HOBJECT ground_ = 0;
};

}  // namespace cstest
