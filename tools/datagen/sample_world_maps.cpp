// The sample world's scenes: the village, the meadow and the battle arena,
// their texture packages and the stream's looped sound.
#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

#include "platform/files.h"
#include "tools/datagen/image_writer.h"
#include "tools/datagen/output_file.h"
#include "tools/datagen/package_writer.h"
#include "tools/datagen/sample_world.h"
#include "tools/datagen/sample_world_maps.h"
#include "tools/datagen/sample_world_parts.h"
#include "tools/datagen/scene_file_writer.h"
#include "tools/datagen/wave_writer.h"

namespace datagen {
namespace {

using namespace sample;

constexpr int kSide = 8;

// An 8 x 8 texture in two colours: a checker of cells of the given side.
bool CheckerTexture(const std::string& entry, PaletteColour a, PaletteColour b, int cell, std::vector<PackageFile>& out,
                    std::string& error) {
  ImageDesc image;
  image.width = kSide;
  image.height = kSide;
  image.palette = {a, b};
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) image.pixels.push_back(static_cast<uint8_t>((x / cell + y / cell) % 2));
  plat::ByteWriter bytes;
  if (!WriteImage(image, bytes, error)) return false;
  out.push_back({entry + ".qbt", bytes.Bytes()});
  return true;
}

bool WritePackageFile(const std::string& path, const std::vector<PackageFile>& files, std::string& error) {
  plat::ByteWriter package;
  return WritePackage(files, package, error) && WriteOutputFile(path, package.Bytes(), error);
}

ScenePartData TexturePart(const std::string& texture) {
  ScenePartData p;
  p.texture = texture;
  return p;
}

int16_t Uv(float units) { return static_cast<int16_t>(std::lround(units * 256)); }

// Square cells from (x0, y0), cell units wide, nx by ny, on part 0; keep(i, j)
// chooses the cells. Triangles run counter-clockwise seen from above; the
// texture repeats every 100 units.
void AddGrid(SceneObjectData& o, float x0, float y0, float cell, int nx, int ny,
             const std::function<bool(int, int)>& keep) {
  const int16_t base = static_cast<int16_t>(o.vertices.size());
  for (int j = 0; j <= ny; ++j) {
    for (int i = 0; i <= nx; ++i) {
      SceneVertexData v;
      v.position = {x0 + i * cell, y0 + j * cell, 0};
      v.uv = {Uv(i * cell / 100), Uv(j * cell / 100)};
      o.vertices.push_back(v);
    }
  }
  auto at = [&](int i, int j) { return static_cast<int16_t>(base + j * (nx + 1) + i); };
  for (int j = 0; j < ny; ++j) {
    for (int i = 0; i < nx; ++i) {
      if (!keep(i, j)) continue;
      o.triangles.push_back({0, at(i, j), at(i + 1, j), at(i + 1, j + 1)});
      o.triangles.push_back({0, at(i, j), at(i + 1, j + 1), at(i, j + 1)});
    }
  }
}

SceneObjectData Terrain(const std::string& texture) {
  SceneObjectData o;
  o.name = "terrain";
  o.kind = 1;
  o.meshFlags = 0x08;
  o.parts = {TexturePart(texture)};
  return o;
}

// What the player sees of the ground: the game walks on the terrain object
// but never draws it, so each map also holds the same mesh as a plain object.
SceneObjectData Ground(const SceneObjectData& terrain) {
  SceneObjectData o = terrain;
  o.name = "ground";
  o.kind = 0;
  return o;
}

// A box of half sides hx, hy and height h standing on the origin, faces
// wound outward, bottom left open; placed by the object's matrix.
SceneObjectData Box(const std::string& name, float hx, float hy, float h, const std::string& texture) {
  SceneObjectData o;
  o.name = name;
  o.meshFlags = 0x04 | 0x08;
  o.parts = {TexturePart(texture)};
  const float xs[2] = {-hx, hx}, ys[2] = {-hy, hy}, zs[2] = {0, h};
  for (int k = 0; k < 8; ++k) {
    SceneVertexData v;
    v.position = {xs[k & 1], ys[(k >> 1) & 1], zs[k >> 2]};
    v.uv = {Uv(k & 1), Uv(k >> 2)};
    o.vertices.push_back(v);
  }
  // Corner k: x bit 0, y bit 1, z bit 2.
  const int16_t quads[5][4] = {{4, 5, 7, 6}, {0, 1, 5, 4}, {1, 3, 7, 5}, {3, 2, 6, 7}, {2, 0, 4, 6}};
  for (const auto& q : quads) {
    o.triangles.push_back({0, q[0], q[1], q[2]});
    o.triangles.push_back({0, q[0], q[2], q[3]});
  }
  return o;
}

SceneAnimData SignSwing() {
  SceneAnimData a;
  a.mode = 1;    // starts at once
  a.repeat = 1;  // bounce
  a.plays = 0;
  a.rotationKeys = {{0, {1, 0, 0, 0}}, {30, {0.9659258f, 0, 0, 0.2588190f}}};
  a.positionKeys = {{0, {0, 0, 0}}, {30, {0, 0, 5}}};
  return a;
}

SceneFileData Village() {
  SceneFileData s;
  const float h = kVillageHalfSide;
  s.points = {{1, {-300, -100, 0}, {0, 1, 0}}, {2, {450, -300, 0}, {-1, 0, 0}}};
  s.portals = {{kMeadowName, 1, 0, SceneRect(520, -500, 600, -100, -50, 300)}};
  SceneTriggerData stream;
  stream.name = kStreamTrigger;
  stream.type = 3;
  stream.wave = kStreamWave;
  stream.zone = SceneRect(200, -450, 400, -250, -50, 200);
  s.triggers = {stream};
  s.start = {-300, -100, 0};

  ScenePersonData mira;
  mira.name = kMiraName;
  mira.position = {-150, -200, 0};
  ScenePersonData bram;
  bram.name = kBramName;
  bram.flags = 0x1;
  bram.position = {-400, 200, 0};
  SceneAnimData walk;
  walk.mode = 1;
  walk.repeat = 1;
  walk.plays = kBramWalks;
  walk.positionKeys = {{0, {-400, 200, 0}}, {90, {-400, 450, 0}}};
  bram.routine = walk;
  s.people = {mira, bram};

  // An L of three 600-unit squares: the north-east quarter is left out. The
  // ground is cut into 100-unit cells, as a map's ground is: a creature's
  // shadow is laid over the ground triangles under it and their neighbours.
  SceneObjectData terrain = Terrain("grass");
  constexpr int kCells = 12;
  AddGrid(terrain, -h, -h, 2 * h / kCells, kCells, kCells,
          [](int i, int j) { return !(i >= kCells / 2 && j >= kCells / 2); });

  SceneObjectData sky;
  sky.name = "sky";
  sky.kind = 2;
  sky.flags = 0x01;
  sky.meshFlags = 0x08;
  sky.parts = {TexturePart("sky")};
  const float k = kSkySide / 2;
  for (const auto& c : {Vec3{-k, -k, 1500}, Vec3{k, -k, 1500}, Vec3{k, k, 1500}, Vec3{-k, k, 1500}})
    sky.vertices.push_back({c, {}, {Uv(c[0] / 1000), Uv(c[1] / 1000)}});
  sky.triangles = {{0, 0, 2, 1}, {0, 0, 3, 2}};  // facing down, towards the player

  SceneObjectData house = Box("house", 100, 80, 150, "stone");
  house.matrix = TranslationMatrix(-300, -400, 0);
  SceneObjectData mill = Box("mill", 10, 10, 120, "wood");
  mill.kind = 5;
  mill.spin = 2;
  mill.matrix = TranslationMatrix(-450, 0, 0);
  SceneObjectData sign = Box("_sign", 30, 3, 20, "wood");
  sign.kind = 6;
  sign.matrix = TranslationMatrix(-200, -80, 60);
  sign.animation = SignSwing();

  ScenePartData flame = TexturePart(kBillboardTexture);
  flame.frameCount = 2;
  flame.ticksPerFrame = 8;
  flame.ambient = {40, 60, 0};
  flame.diffuse = {-250, -300, 30};
  SceneObjectData torch;
  torch.name = "torch";
  torch.kind = 7;
  torch.parts = {flame};

  SceneObjectData grass;
  grass.name = kMorphObject;
  grass.kind = 8;
  grass.parts = {TexturePart("grass")};
  grass.vertices = {{{-250, 0, 0}}, {{-230, 0, 0}}, {{-240, 0, 25}}};
  grass.triangles = {{0, 0, 1, 2}, {0, 0, 2, 1}};
  SceneMorphData swing;
  swing.frameCount = 2;
  swing.vertexCount = 3;
  swing.holdTicks = 5;
  swing.frames = {-250, 0, 0, -230, 0, 0, -240, 0, 25, -250, 0, 0, -230, 0, 0, -236, 3, 24};
  s.morphs = {swing};
  s.extAnims = {{"grassZone", 2, 8, kMorphObject, SceneRect(-300, -50, -200, 50, 0, 30)}};

  s.objects = {terrain, sky, house, mill, sign, torch, grass, Ground(terrain)};
  s.shadows = {{{-420, -500, 1}, {-180, -500, 1}, {-180, -300, 1}, {-420, -300, 1}}};

  SceneLightData sun;
  sun.name = "sun";
  sun.type = 2;
  sun.direction = {0.3f, 0.4f, -0.866f};
  SceneLightData lamp;
  lamp.name = "lamp";
  lamp.type = 0;
  lamp.position = {-300, -250, 120};
  lamp.color = {1, 0.8f, 0.5f};
  lamp.range = 400;
  s.lights = {sun, lamp};

  SceneCameraData cam;
  cam.name = "cam01";
  cam.position = {-300, -700, 300};
  cam.target = {-300, -100, 0};
  s.cameras = {cam};
  return s;
}

SceneFileData Meadow() {
  SceneFileData s;
  const float h = kMeadowHalfSide;
  const float cell = 2 * kPondHalfSide;
  s.points = {{1, {-450, 0, 0}, {1, 0, 0}}, {4, {0, 450, 0}, {0, -1, 0}}};
  s.portals = {{kVillageName, 2, 0, SceneRect(-600, -100, -520, 100, -50, 300)},
               {kWorldMapName, 0, 0, SceneRect(-100, 520, 100, 600, -50, 300)}};
  s.start = {-450, 0, 0};
  SceneObjectData terrain = Terrain("grass");
  AddGrid(terrain, -h, -h, cell, 3, 3, [](int i, int j) { return !(i == 1 && j == 1); });
  s.objects = {terrain, Ground(terrain)};
  return s;
}

SceneFileData Arena() {
  SceneFileData s;
  const float half = kArenaCells * kArenaCell / 2;
  s.points = {{1, {0, -200, 0}, {0, 1, 0}}, {2, {0, 200, 0}, {0, -1, 0}}};
  SceneObjectData floor = Terrain("floor");
  AddGrid(floor, -half, -half, kArenaCell, kArenaCells, kArenaCells, [](int, int) { return true; });
  s.objects = {floor, Ground(floor)};
  return s;
}

// A soft murmur: a few low sines, one second, looped by the game.
WaveSpec Stream() {
  WaveSpec spec;
  spec.sampleRate = 11025;
  const double pi2 = 2 * std::numbers::pi;
  for (int i = 0; i < spec.sampleRate; ++i) {
    const double t = static_cast<double>(i) / spec.sampleRate;
    const double s = std::sin(pi2 * 170 * t) + 0.6 * std::sin(pi2 * 233 * t) + 0.4 * std::sin(pi2 * 311 * t);
    spec.samples.push_back(static_cast<int16_t>(std::lround(1500 * s)));
  }
  return spec;
}

}  // namespace

SceneFileData SampleVillageScene() { return Village(); }

bool WriteSampleMaps(const std::string& root, std::string& error) {
  const PaletteColour green{60, 140, 40}, darkGreen{40, 110, 30}, grey{130, 130, 125}, darkGrey{60, 60, 65},
      brown{120, 80, 40}, darkBrown{80, 50, 25}, blue{120, 170, 230}, white{235, 240, 250}, orange{250, 160, 40},
      yellow{250, 230, 90}, magenta{255, 0, 255}, sand{200, 180, 120}, ochre{170, 140, 80};
  std::vector<PackageFile> village, meadow, arena;
  if (!CheckerTexture("grass", green, darkGreen, 2, village, error) ||
      !CheckerTexture("stone", grey, darkGrey, 4, village, error) ||
      !CheckerTexture("wood", brown, darkBrown, 1, village, error) ||
      !CheckerTexture("sky", blue, white, 4, village, error) ||
      !CheckerTexture("kflame00", orange, magenta, 4, village, error) ||
      !CheckerTexture("kflame01", yellow, magenta, 4, village, error) ||
      !CheckerTexture("grass", green, darkGreen, 2, meadow, error) ||
      !CheckerTexture("floor", sand, ochre, 4, arena, error))
    return false;
  if (!WritePackageFile(root + kVillagePackage, village, error) ||
      !WritePackageFile(root + kMeadowPackage, meadow, error) || !WritePackageFile(root + kArenaPackage, arena, error))
    return false;
  if (!WriteWave(root + kStreamFile, Stream())) {
    error = std::string("cannot write ") + kStreamFile;
    return false;
  }
  return WriteSceneFile(root + kVillageScene, Village(), error) &&
         WriteSceneFile(root + kMeadowScene, Meadow(), error) && WriteSceneFile(root + kArenaScene, Arena(), error) &&
         WriteSampleMapTables(root, error);
}

}  // namespace datagen
