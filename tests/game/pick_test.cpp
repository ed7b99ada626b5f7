#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "database/game_resource.h"
#include "database/scene_records.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/nodes.h"
#include "game/field_walker.h"
#include "game/game.h"
#include "game/pick_manager.h"
#include "tests/game/game_fixture.h"
#include "tools/datagen/game_resource_writer.h"
#include "world/game_camera.h"
#include "world/map_scene.h"
#include "world/scene_content.h"
#include "world/scene_npc.h"

namespace gametest {
namespace {

// A game in the field of an empty scene with three characters without
// creatures; their volumes are placed by hand. The second talks on approach
// and its talk group always has a talk to start.
class PickTest : public GameTest {
 protected:
  static constexpr int kPeople = 3;

  void SetUp() override {
    datagen::GameResourceData data;
    data.npcs = {{'a', "none", 0, "p0", 0}, {'k', "none", 0, "p1", 1}, {'a', "none", 0, "p2", 0}};
    datagen::ResourceSectionData groupEnds;
    groupEnds.kind = 32;
    groupEnds.data = {1, 0};
    data.raw.push_back(groupEnds);
    data.events = {{"e", 0, 0, 0, 0}};
    data.actions = {{1, 0, 1}};
    std::string error;
    ASSERT_TRUE(datagen::WriteGameResource("resource/Zudur.res", data, error)) << error;
    ASSERT_EQ(Start(), 1);
    Game().scene = new MScene("none.sb", Game().gameResource);
    Game().state = GS_FIELD;
    CSceneContent& content = *Game().scene->content;
    persons_.resize(kPeople);
    for (int i = 0; i < kPeople; ++i) {
      persons_[i].name = "p" + std::to_string(i);
      content.people.push_back(std::make_unique<CSceneNpc>(persons_[i], *Game().gameResource, 0, i, content.people));
      content.people.back()->flags = CF_WITHIN;
    }
    Game().npcVolumes.assign(kPeople, ObjBoundVolume{});
    Volume(Game().walkerVolume, {0, 0, 0});
  }

  static void Volume(ObjBoundVolume& v, VECTOR3 at) {
    v.centre[0] = at.x, v.centre[1] = at.y, v.centre[2] = at.z;
    v.radius = 10;
    v.height = 50;
  }
  CSceneNpc& Person(int i) { return *Game().scene->content->people[i]; }
  CPickManager& Pick() { return *Game().pick; }

  std::vector<SCENEPERSONDESC> persons_;
};

TEST_F(PickTest, KCharactersTalkWhenCloseOrApproachedFromBehind) {
  struct Case {
    float gap;
    VECTOR3 side;  // from the walker towards the character
    int32_t flags;
    int talks;
  };
  // The character looks along +y: a walker south of it stands behind it.
  const Case cases[] = {
      {59, {0, 1, 0}, CF_WITHIN, 1},   {59, {0, -1, 0}, CF_WITHIN, 1},
      {59, {1, 0, 0}, CF_WITHIN, 1},   {100, {0, 1, 0}, CF_WITHIN, 1},
      {100, {0, -1, 0}, CF_WITHIN, 0}, {100, {1, 0, 0}, CF_WITHIN, 0},
      {140, {0, 1, 0}, CF_WITHIN, 0},  {59, {0, 1, 0}, CF_WITHIN | CF_HIDDEN, 0},
  };
  Game().npcsK = {1};
  for (const Case& c : cases) {
    const float d = c.gap + 20;  // two radii
    Volume(Game().npcVolumes[1], {c.side.x * d, c.side.y * d, 0});
    Person(1).heading = {0, 1, 0};
    Person(1).flags = c.flags;
    Pick().target = -1;
    EXPECT_EQ(Pick().Scan(), c.talks) << c.gap << " " << c.side.x << "," << c.side.y;
    EXPECT_EQ(Pick().target, c.talks ? 1 : -1);
  }
}

TEST_F(PickTest, NearestNpcBoxBeyondTwentyWins) {
  CGameCamera& camera = *Game().scene->camera;
  VECTOR3 eye{}, near{};
  camera.GetPositionAndDirection(&eye, nullptr);
  camera.UnprojectScreenPoint(&near, 320, 240);
  VECTOR3 ray{near.x - eye.x, near.y - eye.y, near.z - eye.z};
  NormalizeVector3(&ray);

  // Boxes of half size 5 centred 17, 60 and 90 along the ray: hits at 12
  // (too near), 55 and 85.
  const float along[kPeople] = {90, 60, 17};
  for (int i = 0; i < kPeople; ++i) {
    const VECTOR3 c{eye.x + along[i] * ray.x, eye.y + along[i] * ray.y, eye.z + along[i] * ray.z};
    // Two triangles whose bounds are the cube around c.
    const float corners[2][9] = {{c.x - 5, c.y - 5, c.z - 5, c.x + 5, c.y - 5, c.z - 5, c.x + 5, c.y + 5, c.z + 5},
                                 {c.x - 5, c.y - 5, c.z - 5, c.x + 5, c.y + 5, c.z + 5, c.x - 5, c.y + 5, c.z + 5}};
    BeginNode(NODE_MESH);
    for (const float* triangle : corners) AddMeshPolygon(0, triangle, nullptr, nullptr, 3, 0, 0);
    ObjBoundVolume& volume = Game().npcVolumes[i];
    volume.nodes = {EndNode(0)};
    volume.Build();
    Volume(volume, c);
    volume.height = 200;  // within height of the walker
  }
  Game().npcRange = 1e6f;
  Game().otherNpcs = {0, 1, 2};
  Pick().pickMode = 0;
  Pick().Scan();
  ASSERT_EQ(Pick().nearNpcs.size(), 3u);

  Pick().target = 99;
  Pick().PickAt(0, 0);
  EXPECT_EQ(Pick().target, 99) << "no pick before the mouse has moved";

  Pick().pickMode = 4;
  ASSERT_NE(Game().mouse.type, CT_NPC);
  if (Game().walker) Game().walker->action = CFieldWalker::kStanding;
  Pick().PickAt(0, 0);  // the field always picks at the centre
  EXPECT_EQ(Pick().target, 1);
  EXPECT_EQ(Game().mouse.type, CT_NPC);

  Game().otherNpcs = {0, 2};
  Pick().Scan();
  Pick().PickAt(0, 0);
  EXPECT_EQ(Pick().target, 0);
}

TEST_F(PickTest, TwelveMarkersAtMost) {
  for (int i = 0; i < 13; ++i) Pick().AddMarker(i, static_cast<HOBJECT>(100 + i));
  EXPECT_EQ(Pick().markerCount, CPickManager::kMaxMarkers);
  EXPECT_EQ(Pick().markerIndices[11], 11);
  EXPECT_EQ(Pick().markerNodes[11], 111u);
}

}  // namespace
}  // namespace gametest
