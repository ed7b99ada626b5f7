#include <cmath>
#include <cstring>
#include <string>

#include "platform/files.h"
#include "tests/world/scene_fixture.h"
#include "tools/datagen/sample_world_maps.h"
#include "tools/datagen/scene_text_writer.h"
#include "world/scene_data.h"

namespace fieldtest {
namespace {

class SceneTextTest : public worldtest::SceneFileTest {
 protected:
  std::unique_ptr<CSceneData> LoadText(const std::string& text, const std::string& name = "test.sbs") {
    plat::CreateDirectories("scenes");
    EXPECT_TRUE(plat::WriteFileAtomic("scenes/" + name, text.data(), text.size()));
    return std::make_unique<CSceneData>("scenes", name.c_str());
  }
};

// A one-triangle object of the text form at version 2.1.
std::string Mesh(const std::string& name) {
  return "BeginObject " + name +
         "\n1 Parts 0\nwood 0 0 0 0 0 1 1 1 1 1 1 0 0 0\n3 N 0 0 0 0 0\n0 0 0\n10 0 0\n0 10 0\n1\n-1 0 1 "
         "2\nEndObject\n";
}

TEST_F(SceneTextTest, PortalsKeepEightPointsAndTheirZone) {
  std::string text = "BeginVersion 2.1\nBeginPortal e001 4 10\n";
  for (int i = 0; i < 10; ++i) {
    text += std::to_string(i * 10) + " " + std::to_string(i * 10 + 1) + " " + std::to_string(100 + i) + "\n";
  }
  text += "BeginPoint 1\nPoint12 1 2 3 0 1 0\n";
  auto scene = LoadText(text);
  ASSERT_EQ(scene->portals.size(), 1u);
  const PORTALDESC& p = scene->portals[0];
  EXPECT_EQ(p.destination, "e001");
  EXPECT_EQ(p.destinationPoint, 4);
  EXPECT_EQ(p.closed, 0);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(p.zone.corners[static_cast<size_t>(i)][0], i * 10.0f);
    EXPECT_EQ(p.zone.corners[static_cast<size_t>(i)][1], i * 10.0f + 1);
  }
  EXPECT_EQ(p.zone.zMin, 100.0f);
  EXPECT_EQ(p.zone.zMax, 104.0f);
  ASSERT_EQ(scene->points.size(), 1u) << "the points past the eighth are skipped as lines";
  EXPECT_EQ(scene->points[0].id, 12);
  EXPECT_EQ(scene->points[0].position.z, 3.0f);
}

TEST_F(SceneTextTest, DummiesAreDroppedButCounted) {
  const std::string text = "BeginVersion 2.1\n" + Mesh("first") +
                           "BeginObject @Scale\nVertices 3\n5 1 0\n-2 4 0\n7 -3 0\nEndObject\n" +
                           "BeginObject @ScaleBack\n1 2 3\nEndObject\n" + Mesh("second") +
                           "BeginObject copy\nClone 3 1 0 0 0 1 0 0 0 1 20 0 0\nEndObject\n" +
                           "BeginObject ghost\nClone 1 1 0 0 0 1 0 0 0 1 0 0 0\nEndObject\n";
  auto scene = LoadText(text);
  ASSERT_EQ(scene->objects.size(), 4u);
  EXPECT_EQ(scene->objects[1]->name, "second");
  float extra[4];
  std::memcpy(extra, scene->startExtra.data(), sizeof extra);
  EXPECT_EQ(extra[0], 5.0f) << "the first point's x";
  EXPECT_EQ(extra[1], -2.0f) << "the smallest x";
  EXPECT_EQ(extra[2], 4.0f) << "the largest y";
  EXPECT_EQ(extra[3], 9.0f) << "the x span";
  const SCENEOBJECTDESC& copy = *scene->objects[2];
  EXPECT_EQ(copy.meshFlags, 1) << "file object 3 is the second kept object";
  ASSERT_NE(copy.node, 0u);
  EXPECT_NE(copy.node, scene->objects[1]->node);
  EXPECT_EQ(scene->objects[3]->node, 0u) << "a clone of a dummy has no source";
}

TEST_F(SceneTextTest, VersionsDecideThePartFields) {
  // Before 1.299 a part has three option bytes and no billboard values.
  const std::string old =
      "BeginVersion 1.0\nBeginObject flat\n1 Parts 0\nwood 1 2 3 0.5 0.5 0.5 1 1 1 0 0 0\n"
      "3 N 0 0 0 0 0\n0 0 0\n10 0 0\n0 10 0\n1\n0 0 1 2\nEndObject\n";
  auto scene = LoadText(old);
  ASSERT_EQ(scene->objects.size(), 1u);
  const SCENEPARTDESC& part = scene->objects[0]->parts.at(0);
  EXPECT_EQ(part.options[2], 3);
  EXPECT_EQ(part.frameCount, 0);
  EXPECT_NE(scene->objects[0]->node, 0u) << "the vertices were found where they lie";
  // Before 0.999 no layout word: the old field layout, reported.
  auto older = LoadText(
      "BeginVersion 0.9\nBeginObject flat\n1 Parts 0\nwood 0 0 0 1 1 1 1 1 1 0 0 0\n"
      "3\n0 0 0\n10 0 0\n0 10 0\n1\n0 0 1 2\nEndObject\n",
      "old.sbs");
  EXPECT_TRUE(trace_.Contains("Old Scenefile version"));
  ASSERT_EQ(older->objects.size(), 1u);
  EXPECT_NE(older->objects[0]->node, 0u);
}

// A version that no int holds (or no number at all) is held to the versions
// the form can name.
TEST_F(SceneTextTest, HostileVersionsStillMakeAVersion) {
  struct Case {
    const char* text;
    int version;
  };
  for (const Case& c :
       {Case{"nan", 0}, Case{"inf", 0}, Case{"1e30", 127 * 256}, Case{"-1e30", 0}, Case{"-5", 0}, Case{"2.1", 538}}) {
    SCOPED_TRACE(c.text);
    auto scene = LoadText("BeginVersion " + std::string(c.text) + "\n" + Mesh("first"));
    EXPECT_EQ(scene->version, c.version);
  }
}

TEST_F(SceneTextTest, AnimateAndPropertiesOfUnderscoreObjects) {
  const std::string body =
      "1 Parts 0\nwood 0 0 0 0 0 1 1 1 1 1 1 0 0 0\n3 N 0 0 0 0 0\n0 0 0\n10 0 0\n0 10 0\n1\n0 0 1 2\n";
  const std::string animate =
      "Animate\nKeyPos 0 10 2\n0 0 0 0\n10 5 0 0\nKeyRotate 0 10 1\n0 3.14159265 0 0 1\nEndAnimate\n"
      "Properties 3\nRandom 12\nBounce 4\nItem 7 1 2\n";
  auto scene = LoadText("BeginVersion 2.1\nBeginObject _door\n" + body + animate + "EndObject\nBeginObject plain\n" +
                        body + animate + "EndObject\n");
  ASSERT_EQ(scene->objects.size(), 2u);
  const SCENEANIMDESC* a = scene->objects[0]->animation.get();
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(scene->objects[0]->kind, SOBJ_KEYFRAMED);
  ASSERT_EQ(a->positionKeys.size(), 2u);
  EXPECT_EQ(a->positionKeys[1].value.x, 5.0f);
  ASSERT_EQ(a->rotationKeys.size(), 1u);
  EXPECT_NEAR(a->rotationKeys[0].value.w, 0.0f, 1e-5) << "half a turn in radians";
  EXPECT_NEAR(a->rotationKeys[0].value.z, 1.0f, 1e-5);
  EXPECT_EQ(a->mode & 0x0F, 2);
  EXPECT_EQ(a->delay, 12);
  EXPECT_EQ(a->repeat, 1);
  EXPECT_EQ(a->playsLeft, 4);
  ASSERT_EQ(a->items.size(), 1u);
  EXPECT_EQ(a->items[0].itemId, 7);
  EXPECT_EQ(a->links & 3, 1);
  EXPECT_EQ(scene->objects[1]->kind, SOBJ_STATIC) << "only \"_\" objects take an Animate block";
  ASSERT_NE(scene->objects[1]->animation, nullptr) << "its properties still count";
  EXPECT_TRUE(scene->objects[1]->animation->positionKeys.empty());
}

TEST_F(SceneTextTest, TheScrollSpeedsFollowTheFlagSetOrNot) {
  datagen::SceneFileData data;
  datagen::SceneObjectData still = worldtest::Triangle("still", {worldtest::Part("wood")});
  still.scrollU = 0.25f;  // written, but the object does not scroll
  datagen::SceneObjectData river = worldtest::Triangle("river", {worldtest::Part("water")});
  river.flags = 0x04;
  river.scrollU = 0.5f;
  river.scrollV = -0.125f;
  data.objects = {still, river, worldtest::Triangle("last", {worldtest::Part("wood")})};
  std::string error;
  ASSERT_TRUE(datagen::WriteSceneText("scenes/scroll.sbs", data, error)) << error;
  CSceneData scene("scenes", "scroll.sbs");
  ASSERT_EQ(scene.objects.size(), 3u) << "no object lost behind the first";
  const struct {
    const char* name;
    bool scrolls;
    float u, v;
  } cases[] = {{"still", false, 0, 0}, {"river", true, 0.5f, -0.125f}, {"last", false, 0, 0}};
  for (size_t i = 0; i < 3; ++i) {
    const SCENEOBJECTDESC& o = *scene.objects[i];
    EXPECT_EQ(o.name, cases[i].name);
    EXPECT_EQ((o.flags & SCENEOBJECTDESC::kScroll) != 0, cases[i].scrolls) << o.name;
    EXPECT_EQ(o.scrollU, cases[i].u) << o.name;
    EXPECT_EQ(o.scrollV, cases[i].v) << o.name;
    EXPECT_NE(o.node, 0u) << o.name << ": its mesh was read";
  }
}

TEST_F(SceneTextTest, LongNamesAreCut) {
  auto scene = LoadText("BeginVersion 2.1\nBeginDummy *Bartholomew 1 2 3 0 1 0\nProperties 1\nHide\nEndDummy\n" +
                        Mesh("averyveryverylongname"));
  ASSERT_EQ(scene->people.size(), 1u);
  EXPECT_EQ(scene->people[0].name, "Bartholo");
  EXPECT_EQ(scene->people[0].flags & SCENEPERSONDESC::kHide, SCENEPERSONDESC::kHide);
  ASSERT_EQ(scene->objects.size(), 1u);
  EXPECT_EQ(scene->objects[0]->name, "averyveryverylo");
  EXPECT_TRUE(trace_.Contains("cut"));
}

TEST_F(SceneTextTest, TheVillagesTextTwinReadsTheSameTables) {
  const datagen::SceneFileData village = datagen::SampleVillageScene();
  auto binary = Load(village, "a004.sb");
  std::string error;
  ASSERT_TRUE(datagen::WriteSceneText("scenes/a004.sbs", village, error)) << error;
  auto text = std::make_unique<CSceneData>("scenes", "a004.sbs");

  ASSERT_EQ(text->points.size(), binary->points.size());
  for (size_t i = 0; i < binary->points.size(); ++i) {
    EXPECT_EQ(text->points[i].id, binary->points[i].id);
    EXPECT_EQ(text->points[i].position.x, binary->points[i].position.x);
    EXPECT_EQ(text->points[i].direction.y, binary->points[i].direction.y);
  }
  ASSERT_EQ(text->portals.size(), binary->portals.size());
  EXPECT_EQ(text->portals[0].destination, binary->portals[0].destination);
  EXPECT_EQ(text->portals[0].destinationPoint, binary->portals[0].destinationPoint);
  EXPECT_EQ(text->portals[0].zone.corners, binary->portals[0].zone.corners);
  EXPECT_EQ(text->portals[0].zone.zMax, binary->portals[0].zone.zMax);
  ASSERT_EQ(text->triggers.size(), binary->triggers.size());
  EXPECT_EQ(text->triggers[0].type, binary->triggers[0].type);
  EXPECT_EQ(text->triggers[0].WaveName(), binary->triggers[0].WaveName());
  EXPECT_EQ(text->triggers[0].zone.corners, binary->triggers[0].zone.corners);
  EXPECT_EQ(text->startPosition.x, binary->startPosition.x);
  ASSERT_EQ(text->people.size(), binary->people.size());
  for (size_t i = 0; i < binary->people.size(); ++i) {
    EXPECT_EQ(text->people[i].name, binary->people[i].name);
    EXPECT_EQ(text->people[i].flags, binary->people[i].flags);
    EXPECT_EQ(text->people[i].position.y, binary->people[i].position.y);
    ASSERT_EQ(text->people[i].routine == nullptr, binary->people[i].routine == nullptr);
    if (!binary->people[i].routine) continue;
    const SCENEANIMDESC& t = *text->people[i].routine;
    const SCENEANIMDESC& b = *binary->people[i].routine;
    EXPECT_EQ(t.mode & 0x0F, b.mode & 0x0F);
    EXPECT_EQ(t.repeat, b.repeat);
    EXPECT_EQ(t.playsLeft, b.playsLeft);
    EXPECT_EQ(t.lastKey, b.lastKey);
    ASSERT_EQ(t.positionKeys.size(), b.positionKeys.size());
    EXPECT_EQ(t.positionKeys[1].value.y, b.positionKeys[1].value.y);
  }
  ASSERT_EQ(text->objects.size(), binary->objects.size());
  for (size_t i = 0; i < binary->objects.size(); ++i) {
    EXPECT_EQ(text->objects[i]->name, binary->objects[i]->name);
    EXPECT_EQ(text->objects[i]->parts.size(), binary->objects[i]->parts.size()) << text->objects[i]->name;
  }
  const SCENEOBJECTDESC& torch = *text->objects[5];
  ASSERT_EQ(torch.name, "torch");
  EXPECT_EQ(torch.kind, SOBJ_BILLBOARD);
  EXPECT_NE(torch.node, 0u);
  EXPECT_NEAR(torch.parts[0].ambient[0], binary->objects[5]->parts[0].ambient[0], 1e-3) << "sized from its quad";
  EXPECT_NEAR(torch.parts[0].ambient[1], binary->objects[5]->parts[0].ambient[1], 1e-3);
  EXPECT_NEAR(torch.parts[0].diffuse[2], binary->objects[5]->parts[0].diffuse[2], 1e-3);
  ASSERT_EQ(text->cameras.size(), binary->cameras.size());
  EXPECT_EQ(text->cameras[0].name, binary->cameras[0].name);
  EXPECT_EQ(text->cameras[0].target.y, binary->cameras[0].target.y);
  ASSERT_EQ(text->lights.size(), binary->lights.size());
  for (size_t i = 0; i < binary->lights.size(); ++i) {
    EXPECT_EQ(text->lights[i].type, binary->lights[i].type);
    EXPECT_EQ(text->lights[i].color[1], binary->lights[i].color[1]);
    EXPECT_EQ(text->lights[i].range, binary->lights[i].range);
  }
  ASSERT_EQ(text->morphs.size(), binary->morphs.size());
  EXPECT_EQ(text->morphs[0].frames.size(), binary->morphs[0].frames.size());
  EXPECT_EQ(text->morphs[0].frames.back(), binary->morphs[0].frames.back());
  ASSERT_EQ(text->extAnims.size(), binary->extAnims.size());
  EXPECT_EQ(text->extAnims[0].kind, binary->extAnims[0].kind);
  EXPECT_EQ(text->extAnims[0].count, binary->extAnims[0].count);
  EXPECT_EQ(text->extAnims[0].objectName, binary->extAnims[0].objectName);
}

}  // namespace
}  // namespace fieldtest
