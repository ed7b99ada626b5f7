#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>

#include "components/efficacy.h"
#include "engine/core/cameras.h"
#include "engine/core/materials.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/media/data_directories.h"
#include "engine/media/sound_table.h"
#include "engine/media/sound_waves.h"
#include "platform/crt.h"
#include "platform/sound.h"
#include "tests/effects/effects_fixture.h"
#include "tools/datagen/efficacy_writer.h"
#include "tools/datagen/sample_world_parts.h"

namespace effectstest {
namespace {

using namespace efc;
using datagen::EfficacyTargetName;

class Player : public EffectTest {
 public:
  // The table's cases run as plain functions.
  using EffectTest::Play;
  using EffectTest::WriteWave;

 protected:
  Player() { plat::SetManualMixing(true); }
  ~Player() override { plat::SetManualMixing(false); }

  static EFCFILEDESC Frames(int n) {
    EFCFILEDESC f;
    f.frameCount = n;
    return f;
  }
  // A free ribbon key moving the ribbon 1 per frame.
  static EFCRIBBONKEYDESC Moving(int frame, int hidden = 0) {
    auto k = KeyAt<EFCRIBBONKEYDESC>(frame, 0, hidden);
    k.speed = 1;
    return k;
  }
  static VECTOR3 PositionOf(ModelVirtualClass* e) {
    VECTOR3 p;
    e->GetPosition(&p);
    return p;
  }
  static float Distance(const VECTOR3& a, const VECTOR3& b) {
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z));
  }
  static size_t SoundPosition(HOBJECT sound) {
    SOUNDDESC* record = LookupSound(sound);
    return record ? record->buffer->Position() : static_cast<size_t>(-1);
  }
};

// The edge cases of playing, one effect each.
TEST_F(Player, EdgeCases) {
  struct Case {
    const char* what;
    void (*run)(Player& t);
  } cases[] = {
      {"frame counts 0 and 1 play no frame",
       [](Player& t) {
         for (int n : {0, 1}) {
           CEfficacy effect;
           ASSERT_EQ(t.Play(effect, "short", Frames(n)), 1);
           EXPECT_EQ(effect.Update(0), 0) << n;
           EXPECT_EQ(effect.Update(0), 0) << n;
           EXPECT_EQ(effect.FrameCount(), 0) << n;
         }
         CEfficacy looping;
         ASSERT_EQ(t.Play(looping, "short", Frames(1)), 1);
         looping.SetLoop(1);
         EXPECT_EQ(looping.Update(0), 0);
         EXPECT_EQ(looping.FrameCount(), 1) << "restarted, not unloaded";
       }},
      {"N - 1 updates answer 1",
       [](Player& t) {
         CEfficacy effect;
         ASSERT_EQ(t.Play(effect, "five", Frames(5)), 1);
         for (int i = 0; i < 4; ++i) EXPECT_EQ(effect.Update(0), 1) << i;
         EXPECT_EQ(effect.Update(0), 0);
         EXPECT_EQ(effect.FrameCount(), 0);
       }},
      {"nothing changes before the first key",
       [](Player& t) {
         EFCFILEDESC f = Frames(20);
         EFCSECTIONALRECORD r = Ribbon("late");
         auto k = Moving(10, 1);
         r.keys = {k};
         f.sectionals.push_back(r);
         CEfficacy effect;
         ASSERT_EQ(t.Play(effect, "late", f), 1);
         ModelVirtualClass* e = effect.sectionals[0].element.get();
         const VECTOR3 start = PositionOf(e);
         for (int frame = 0; frame < 10; ++frame) {
           effect.Update(0);
           EXPECT_EQ(e->IsVisible(), 1) << frame;
           EXPECT_LT(Distance(PositionOf(e), start), 1e-4f) << frame;
         }
         effect.Update(0);
         EXPECT_EQ(e->IsVisible(), 0);
       }},
      {"a hidden key stops the key steps until a later key shows",
       [](Player& t) {
         EFCFILEDESC f = Frames(20);
         EFCSECTIONALRECORD r = Ribbon("blink");
         r.keys = {Moving(0), Moving(2, 1), Moving(4)};
         f.sectionals.push_back(r);
         CEfficacy effect;
         ASSERT_EQ(t.Play(effect, "blink", f), 1);
         ModelVirtualClass* e = effect.sectionals[0].element.get();
         const VECTOR3 start = PositionOf(e);
         std::vector<int> moved;
         for (int frame = 0; frame < 6; ++frame) {
           effect.Update(0);
           moved.push_back(static_cast<int>(std::lround(Distance(PositionOf(e), start))));
         }
         EXPECT_EQ(moved, (std::vector<int>{1, 2, 2, 2, 3, 4}));
       }},
      {"wave names differing in case share one wave",
       [](Player& t) {
         t.WriteWave("slash.wav");
         EFCFILEDESC f = Frames(4);
         f.sounds = {Sound(".\\data\\Efficacy\\Slash.wav", {}), Sound(".\\data\\Efficacy\\SLASH.WAV", {})};
         CEfficacy effect;
         ASSERT_EQ(t.Play(effect, "waves", f), 1);
         ASSERT_NE(effect.sounds[0].sound, 0u);
         ASSERT_NE(effect.sounds[1].sound, 0u);
         EXPECT_NE(effect.sounds[0].sound, effect.sounds[1].sound);
         EXPECT_EQ(LookupSound(effect.sounds[1].sound)->name, ".\\data\\Efficacy\\Slash.wav") << "a duplicate";
       }},
      {"only the first cue of a frame applies",
       [](Player& t) {
         t.WriteWave("slash.wav");
         EFCFILEDESC f = Frames(4);
         f.sounds = {Sound(".\\data\\Efficacy\\slash.wav", {{1, 2}, {1, 0x11}})};
         CEfficacy effect;
         ASSERT_EQ(t.Play(effect, "cues", f), 1);
         effect.Update(0);
         EXPECT_EQ(IsSoundPlaying(effect.sounds[0].sound), 0);
         effect.Update(0);
         EXPECT_EQ(IsSoundPlaying(effect.sounds[0].sound), 1);
       }},
      {"the traction prefix resolves to the owner",
       [](Player& t) {
         EFCFILEDESC f = Frames(4);
         EFCTRACTIONRECORD trail = Trail(EfficacyTargetName(kTractionPrefix, "t"), "hand", "tip");
         f.tractions.push_back(trail);
         CEfficacy effect;
         ASSERT_EQ(t.Play(effect, "prefix", f), 1);
         EXPECT_EQ(effect.FindTarget(EfficacyTargetName(kTractionPrefix, "t")), &effect.ownerElement);
         EXPECT_EQ(effect.FindTarget("hand"), &effect.ownerElement);
         EXPECT_EQ(effect.FindTarget("#x"), &effect.ownerElement);
       }},
      {"the particle prefix and one letter find a particle by its tenth byte on",
       [](Player& t) {
         EFCFILEDESC f = Frames(4);
         f.particles.push_back(Emitter(EfficacyTargetName(kParticlePrefix, "a"), 4, 4));
         f.particles.push_back(Emitter("#OTHERNAMb", 4, 4));
         CEfficacy effect;
         ASSERT_EQ(t.Play(effect, "letters", f), 1);
         EXPECT_EQ(effect.FindTarget(EfficacyTargetName(kParticlePrefix, "a")), effect.particles[0].element.get());
         EXPECT_EQ(effect.FindTarget(EfficacyTargetName(kParticlePrefix, "b")), effect.particles[1].element.get());
         EXPECT_EQ(effect.FindTarget(EfficacyTargetName(kParticlePrefix, "c")), &effect.ownerElement);
         EXPECT_EQ(effect.FindTarget(EfficacyTargetName(kLightPrefix, "a")), &effect.ownerElement);
       }},
      {"showing a playing effect does not place it again",
       [](Player& t) {
         EFCFILEDESC f = Frames(20);
         EFCSECTIONALRECORD r = Ribbon("run");
         r.keys = {Moving(0)};
         f.sectionals.push_back(r);
         CEfficacy effect;
         ASSERT_EQ(t.Play(effect, "show", f), 1);
         ModelVirtualClass* e = effect.sectionals[0].element.get();
         const VECTOR3 start = PositionOf(e);
         for (int i = 0; i < 3; ++i) effect.Update(0);
         effect.Show(1);
         EXPECT_EQ(effect.CurrentFrame(), 0);
         EXPECT_NEAR(Distance(PositionOf(e), start), 3, 1e-3f);
         effect.Show(0);
         EXPECT_EQ(effect.Update(0), 0);
         EXPECT_EQ(e->IsVisible(), 0);
         effect.Show(1);
         EXPECT_LT(Distance(PositionOf(e), start), 1e-4f) << "a stopped effect is placed again";
         EXPECT_EQ(e->IsVisible(), 1);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.run(*this);
  }
}

// The data lies under the working directory, which the program never
// changes: effects keep no directory to return to, and reading one, found
// or not, leaves the working directory and the texture folder as they were.
TEST_F(Player, AnEffectReadsFromTheWorkingDirectoryAndLeavesItAsItWas) {
  const std::filesystem::path workingDirectory = std::filesystem::current_path();
  const std::string textures = GetTextureDirectory();
  CEfficacy effect;
  ASSERT_EQ(Play(effect, "here", Frames(3)), 1);
  CEfficacy missing;
  EXPECT_EQ(missing.Load("nowhere", 0, 0, owner_.get(), 0), 0);
  EXPECT_EQ(std::filesystem::current_path(), workingDirectory);
  EXPECT_EQ(GetTextureDirectory(), textures);
}

TEST_F(Player, ALoopingEffectIsPlacedAgainAndThatUpdateAnswersZero) {
  EFCFILEDESC f = Frames(4);
  EFCSECTIONALRECORD r = Ribbon("loop");
  r.keys = {Moving(0)};
  f.sectionals.push_back(r);
  CEfficacy effect;
  ASSERT_EQ(Play(effect, "loop", f), 1);
  effect.SetLoop(1);
  ModelVirtualClass* e = effect.sectionals[0].element.get();
  const VECTOR3 start = PositionOf(e);
  std::vector<int> results;
  for (int i = 0; i < 8; ++i) results.push_back(effect.Update(0));
  EXPECT_EQ(results, (std::vector<int>{1, 1, 1, 0, 1, 1, 0, 1}));
  EXPECT_NEAR(Distance(PositionOf(e), start), 2, 1e-3f) << "placed again, then moved on frames 0 and 1";
}

TEST_F(Player, ElementTargetsArePlacedAfterTheFirstPass) {
  EFCFILEDESC f = Frames(4);
  const std::string ribbonName = EfficacyTargetName(kSectionalPrefix, "r");
  EFCLIGHTRECORD light = Light("lamp");
  light.header = Element("lamp", ribbonName, kAttach, "");
  f.lights.push_back(light);
  EFCSECTIONALRECORD ribbon = Ribbon(ribbonName);
  ribbon.header = Element(ribbonName, "", kAttach, "hand");
  ribbon.header.position = {0, 3, 0};
  f.sectionals.push_back(ribbon);
  CEfficacy effect;
  ASSERT_EQ(Play(effect, "order", f), 1);
  A_SectionalModel* r = effect.sectionals[0].element.get();
  EXPECT_EQ(r->GetParentNode(), owner_->FindPartNode("hand"));
  EXPECT_EQ(effect.lights[0].element->GetParentNode(), r->node);
  // The ribbon stays where it was placed, (0, 3, 0), beside the hand.
  VECTOR3 p = PositionOf(r);
  EXPECT_NEAR(p.x, kHand.x, 1e-3f);
  EXPECT_NEAR(p.y, kHand.y + 3, 1e-3f);
}

TEST_F(Player, CameraKeysFollowTheOwnersPositionAndHeading) {
  // Turn the owner until it faces effect +x, and move it to effect (3, 0, 4).
  CEfficacy effect;
  for (int turn = 0; turn < 4; ++turn) {
    VECTOR3 forward;
    effect.ownerElement.Bind(owner_.get());
    effect.ownerElement.GetTransform(0, nullptr, &forward, nullptr);
    if (forward.x > 0.99f) break;
    RotateNode(owner_->rootNode, 2, 90, TRANSFORM_LOCAL);
  }
  SetNodePosition(owner_->rootNode, 3, 4, 0, TRANSFORM_PARENT);
  EFCFILEDESC f = Frames(6);
  EFCCAMERARECORD camera = Camera("view");
  auto k = KeyAt<EFCCAMERAKEYDESC>(0);
  k.look = 1;
  k.endFrame = 5;
  k.target = {0, 0, -10};
  k.eye = {0, 5, 10};
  camera.keys = {k};
  f.cameras.push_back(camera);
  WriteEffect("heading", f);
  const HOBJECT cameraNode = CreateCameraNode(0, 1.33f, 50, 0.86f, 1, 1000);
  ASSERT_EQ(effect.Load("heading", 0, cameraNode, owner_.get(), 1), 1);
  const EFCCAMERAKEYDESC& placed = effect.cameras[0].data.keys[0];
  VECTOR3 ownerAt;
  effect.ownerElement.GetPosition(&ownerAt);
  EXPECT_NEAR(placed.target.x, ownerAt.x + 10, 1e-3f);
  EXPECT_NEAR(placed.target.z, ownerAt.z, 1e-3f);
  EXPECT_NEAR(placed.eye.x, ownerAt.x - 10, 1e-3f);
  EXPECT_NEAR(placed.eye.y, ownerAt.y + 5, 1e-3f);
  effect.Update(0);
  VECTOR3 eye;
  GetNodeWorldVectors(cameraNode, &eye, nullptr, nullptr);
  EXPECT_NEAR(eye.x, placed.eye.x, 1e-3f);
  EXPECT_NEAR(eye.y, placed.eye.z, 1e-3f) << "engine y is effect z";
  EXPECT_NEAR(eye.z, placed.eye.y, 1e-3f);
  effect.Unload();
  EXPECT_TRUE(LookupOpenNode(cameraNode)) << "the caller's camera survives";
}

TEST_F(Player, ACueOf0x12RestartsItsSound) {
  WriteWave("slash.wav");
  EFCFILEDESC f = Frames(8);
  f.sounds = {Sound(".\\data\\Efficacy\\slash.wav", {{0, 2}, {3, 0x12}, {5, 4}})};
  CEfficacy effect;
  ASSERT_EQ(Play(effect, "restart", f), 1);
  const HOBJECT sound = effect.sounds[0].sound;
  effect.Update(0);
  plat::PullMixedFrames(500);
  const size_t played = SoundPosition(sound);
  EXPECT_GT(played, 0u);
  effect.Update(0);
  effect.Update(0);
  effect.Update(0);  // frame 3
  EXPECT_EQ(IsSoundPlaying(sound), 1);
  EXPECT_LT(SoundPosition(sound), played);
  effect.Update(0);
  effect.Update(0);  // frame 5 pauses
  EXPECT_EQ(IsSoundPlaying(sound), 0);
}

}  // namespace
}  // namespace effectstest

namespace effectstest {
namespace {

TEST_F(Player, TheSampleAttackEffectPlaysThroughWithItsTexturesAndWave) {
  std::string error;
  ASSERT_TRUE(datagen::WriteSampleEfficacy("", error)) << error;
  CEfficacy effect;
  ASSERT_EQ(effect.Load("m001e001", 0, 0, owner_.get(), 0), 1);
  ASSERT_EQ(effect.sectionals.size(), 1u);
  EXPECT_EQ(effect.sectionals[0].element->Segments().size(), 7u);
  EXPECT_EQ(effect.tractions.size(), 1u);
  EXPECT_EQ(effect.particles.size(), 1u);
  EXPECT_EQ(effect.lights.size(), 1u);
  ASSERT_EQ(effect.sounds.size(), 1u);
  EXPECT_NE(effect.sounds[0].sound, 0u);
  char texture[24] = {};
  GetMaterialColors(effect.sectionals[0].element->material, nullptr, nullptr, nullptr, nullptr, texture);
  EXPECT_STREQ(texture, "arc");
  const int frames = effect.FrameCount();
  int played = 0;
  while (effect.Update(0)) ++played;
  EXPECT_EQ(played, frames - 1);
  EXPECT_EQ(effect.FrameCount(), 0);
}

}  // namespace
}  // namespace effectstest

namespace effectstest {
namespace {

// Aimed elements take the position part's position, with the components
// whose keep flag is off cleared; without direction flags they face -z.
TEST_F(Player, AnAimedElementStandsOnItsPositionPartWithTheKeptComponents) {
  struct Case {
    int keepX, keepY, keepZ;
    VECTOR3 expected;
  } cases[] = {{1, 1, 1, kTip}, {1, 0, 1, {kTip.x, 0, kTip.z}}, {0, 0, 0, {0, 0, 0}}};
  for (const Case& c : cases) {
    EFCFILEDESC f = Frames(4);
    EFCLIGHTRECORD light = Light("aimed");
    light.header.placement = kAim;
    light.header.aim.directionPart = "hand";
    light.header.aim.positionPart = "tip";
    light.header.aim.keepX = c.keepX;
    light.header.aim.keepY = c.keepY;
    light.header.aim.keepZ = c.keepZ;
    light.keys = {KeyAt<EFCLIGHTKEYDESC>(0, 1)};
    f.lights.push_back(light);
    CEfficacy effect;
    ASSERT_EQ(Play(effect, "aim", f), 1);
    ModelVirtualClass* e = effect.lights[0].element.get();
    for (int frame = 0; frame < 2; ++frame) {
      VECTOR3 p = PositionOf(e);
      EXPECT_NEAR(Distance(p, c.expected), 0, 1e-3f) << c.keepX << c.keepY << c.keepZ << " frame " << frame;
      MATRIX44 m;
      e->GetMatrix(&m, 2);
      EXPECT_NEAR(m.m[0], 1, 1e-4f);
      EXPECT_NEAR(m.m[5], 1, 1e-4f);
      effect.Update(0);
    }
  }
}

}  // namespace
}  // namespace effectstest

namespace effectstest {
namespace {

// Blend modes reach every segment of a ribbon as blend factors and opacity.
TEST_F(Player, RibbonKeysSetBlendModesAndColours) {
  struct Case {
    int mode;
    int source, destination;
    float alpha;
    int depthWrite;
  } cases[] = {
      {1, 5, 6, 1.0f, 1}, {2, 5, 6, 0.5f, 0}, {3, 2, 2, 0.999f, 0}, {4, 3, 2, 0.999f, 0}, {5, 1, 4, 0.999f, 0}};
  for (const Case& c : cases) {
    EFCFILEDESC f = Frames(4);
    EFCSECTIONALRECORD r = Ribbon("blend");
    auto k = KeyAt<EFCRIBBONKEYDESC>(0, 1);
    k.blend = c.mode;
    k.setColours = 1;
    k.colours[0] = {0.2f, 0.2f, 0.2f};
    k.changeColours = 1;
    k.changes[0] = {0.1f, 0, 0};
    r.keys = {k};
    f.sectionals.push_back(r);
    CEfficacy effect;
    ASSERT_EQ(Play(effect, "blend", f), 1);
    effect.Update(0);
    effect.Update(0);
    for (HOBJECT segment : effect.sectionals[0].element->Segments()) {
      const NODESTATES& s = LookupOpenNode(segment)->states;
      if (c.alpha != 1.0f) {
        EXPECT_EQ(s.sourceBlend, c.source) << c.mode;
        EXPECT_EQ(s.destBlend, c.destination) << c.mode;
      }
      EXPECT_FLOAT_EQ(s.alpha, c.alpha) << c.mode;
      EXPECT_EQ(s.depthWrite, c.depthWrite) << c.mode;
    }
    float diffuse[3];
    effect.sectionals[0].element->GetMaterialColours(nullptr, diffuse, nullptr, nullptr);
    EXPECT_NEAR(diffuse[0], 0.4f, 1e-5f) << "set, then changed on both frames";
    EXPECT_NEAR(diffuse[1], 0.2f, 1e-5f);
  }
}

TEST_F(Player, LightKeysFlickerAndChangeWithinTheirLimits) {
  EFCFILEDESC f = Frames(6);
  EFCLIGHTRECORD light = Light("lamp");
  auto k = KeyAt<EFCLIGHTKEYDESC>(0);
  k.setColour = 1;
  k.colour = {0.5f, 0.9f, 0.1f};
  k.changeColour = 1;
  k.change = {0.25f, 0.25f, -0.25f};
  k.flicker = 1;
  k.flickerMin = 60;
  k.flickerMax = 100;
  auto steady = KeyAt<EFCLIGHTKEYDESC>(3);
  steady.changeIntensity = 1;
  steady.intensityChange = 0.3f;
  light.keys = {k, steady};
  f.lights.push_back(light);
  CEfficacy effect;
  ASSERT_EQ(Play(effect, "lamp", f), 1);
  A_LightingModel* lamp = effect.lights[0].element.get();
  plat::Srand(7);
  const int draw = plat::Rand();
  plat::Srand(7);
  effect.Update(0);
  EXPECT_FLOAT_EQ(lamp->GetIntensity(), ((draw & 0xFFF) % 40 + 60) * 0.01f);
  float r, g, b;
  lamp->GetColor(&r, &g, &b);
  EXPECT_FLOAT_EQ(r, 0.75f);
  EXPECT_FLOAT_EQ(g, 1);
  EXPECT_FLOAT_EQ(b, 0);
  effect.Update(0);
  effect.Update(0);
  const float flickered = lamp->GetIntensity();
  effect.Update(0);  // frame 3: the steady key
  EXPECT_NEAR(lamp->GetIntensity(), std::min(1.0f, flickered + 0.3f), 1e-5f);
  effect.Update(0);
  EXPECT_FLOAT_EQ(lamp->GetIntensity(), 1);
}

}  // namespace
}  // namespace effectstest

namespace effectstest {
namespace {

class CameraKeys : public Player {
 protected:
  // Loads an effect of one camera key driving a fresh engine camera.
  HOBJECT Drive(CEfficacy& effect, const EFCCAMERAKEYDESC& key) {
    EFCFILEDESC f = Frames(10);
    EFCCAMERARECORD camera = Camera("view");
    camera.keys = {key};
    f.cameras.push_back(camera);
    WriteEffect("camera", f);
    const HOBJECT node = CreateCameraNode(0, 1.33f, 50, 0.86f, 1, 1000);
    EXPECT_EQ(effect.Load("camera", 0, node, owner_.get(), 1), 1);
    return node;
  }
  // Effect-coordinate position and view direction (-z of the camera).
  static void View(HOBJECT node, VECTOR3* position, VECTOR3* view) {
    MATRIX34 m;
    GetNodeMatrix(node, &m, 2);
    *position = {m.row[3].x, m.row[3].z, m.row[3].y};
    *view = {-m.row[2].x, -m.row[2].z, -m.row[2].y};
  }
  static EFCCAMERAKEYDESC Looking() {
    auto k = KeyAt<EFCCAMERAKEYDESC>(0);
    k.look = 1;
    k.eye = {0, 4, 12};
    k.target = {0, 2, 0};
    k.endFrame = 4;
    return k;
  }
};

TEST_F(CameraKeys, AnOrbitAboutAFollowedPartKeepsItsDistanceAndLooksAtThePart) {
  for (bool aboutAxis : {false, true}) {
    auto k = Looking();
    k.followedPart = "hand";
    if (aboutAxis) {
      k.angleA = 0.4f;
      k.orbitAxis = {0, 1, 0};
    } else {
      k.angleB = 0.8f;
    }
    CEfficacy effect;
    const HOBJECT node = Drive(effect, k);
    effect.Update(0);
    VECTOR3 hand;
    effect.ownerElement.GetTransform(effect.ownerElement.GetNode("hand"), &hand, nullptr, nullptr);
    VECTOR3 first, view;
    View(node, &first, &view);
    const float radius = Distance(first, hand);
    for (int frame = 1; frame < 4; ++frame) {
      effect.Update(0);
      VECTOR3 p;
      View(node, &p, &view);
      EXPECT_NEAR(Distance(p, hand), radius, 1e-2f) << aboutAxis << " frame " << frame;
      EXPECT_GT(Distance(p, first), 0.1f) << "it turned";
      VECTOR3 toHand{hand.x - p.x, hand.y - p.y, hand.z - p.z};
      NormalizeVector3(&toHand);
      EXPECT_GT(DotVector3(&toHand, &view), 0.999f) << aboutAxis << " frame " << frame;
    }
  }
}

TEST_F(CameraKeys, FollowingMovesTheCameraWithThePart) {
  auto k = Looking();
  k.followedPart = "hand";
  k.follow = 1;
  CEfficacy effect;
  const HOBJECT node = Drive(effect, k);
  effect.Update(0);
  VECTOR3 before, view;
  View(node, &before, &view);
  SetNodePosition(owner_->rootNode, 7, 0, 0, TRANSFORM_PARENT);
  effect.Update(0);
  VECTOR3 after;
  View(node, &after, &view);
  EXPECT_NEAR(after.x - before.x, 7, 1e-3f);
  EXPECT_NEAR(after.y - before.y, 0, 1e-3f);
}

TEST_F(CameraKeys, AKeyEndingOnItsOwnFrameHasNoSteps) {
  auto k = Looking();
  k.endFrame = k.frame;
  k.angleA = 1;
  k.angleB = 1;
  k.movement = {5, 5, 5};
  CEfficacy effect;
  const HOBJECT node = Drive(effect, k);
  effect.Update(0);
  VECTOR3 first, view;
  View(node, &first, &view);
  effect.Update(0);
  VECTOR3 p;
  View(node, &p, &view);
  EXPECT_FALSE(std::isnan(p.x));
  EXPECT_LT(Distance(p, first), 1e-4f);
  EXPECT_NEAR(Distance(first, effect.cameras[0].data.keys[0].eye), 0, 1e-3f);
}

TEST_F(CameraKeys, AMovementIsSpreadOverTheKeysFrames) {
  auto k = Looking();
  k.movement = {0, 8, 0};
  CEfficacy effect;
  const HOBJECT node = Drive(effect, k);
  effect.Update(0);
  VECTOR3 first, view;
  View(node, &first, &view);
  effect.Update(0);
  VECTOR3 p;
  View(node, &p, &view);
  EXPECT_NEAR(p.y - first.y, 2, 1e-3f);
}

}  // namespace
}  // namespace effectstest
