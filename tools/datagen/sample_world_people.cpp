// The sample world's people: the model Mira and Bram share, and the
// destination marker's texture.
#include <array>
#include <vector>

#include "tools/datagen/creature_binary_writer.h"
#include "tools/datagen/image_writer.h"
#include "tools/datagen/output_file.h"
#include "tools/datagen/sample_world_maps.h"
#include "tools/datagen/sample_world_parts.h"

namespace datagen {
namespace {

using namespace sample;

constexpr int kFrames = 50;
constexpr float kStride = 2.5f;  // units a walk frame moves the root

// A standing figure: a body of two triangles 60 units high, facing -y.
CreatureObject Body() {
  CreatureMaterial cloth;
  cloth.colour1[0] = 0.7f, cloth.colour1[1] = 0.3f, cloth.colour1[2] = 0.2f;
  cloth.colour2[0] = 0.6f, cloth.colour2[1] = 0.25f, cloth.colour2[2] = 0.2f;
  CreatureObject body;
  body.name = "body";
  body.materials = {cloth};
  body.vertices = {{-10, 0, 0, 0, -1, 0, 0, 0},
                   {10, 0, 0, 0, -1, 0, 1, 0},
                   {10, 0, 60, 0, -1, 0, 1, 1},
                   {-10, 0, 60, 0, -1, 0, 0, 1}};
  body.triangles = {{0, 0, 0, 1, 2}, {0, 0, 0, 2, 3}};
  return body;
}

// Poses: 0 idle (0..9), 1 walk (10..29, the root moving forward), 2 a bow
// (30..39) and 3 a wave (40..49), both played once.
CreatureModel Mira() {
  CreatureModel m;
  m.name = kNpcModel;
  m.frames = kFrames;
  m.poses = {{0, 9, 0, 0, 9}, {10, 29, 10, 10, 29}, {30, 39, 30, 30, 39}, {40, 49, 40, 40, 49}};
  CreatureObject body = Body();
  for (int f = 0; f < kFrames; ++f) {
    const float walk = f >= 10 && f <= 29 ? static_cast<float>(f - 10) : 0;
    m.frameOffsets.push_back({0, -kStride * walk, 0});
    // The bow tips the body forward, the wave sways it sideways.
    const float bow = f >= 30 && f <= 39 ? 0.2f * static_cast<float>(f < 35 ? f - 30 : 39 - f) : 0;
    const float sway = f >= 40 && f <= 49 ? (f % 2 ? 3.0f : -3.0f) : 0;
    body.transforms.push_back({1, 0, 0, 0, 1, -bow, 0, bow, 1, sway, 0, 0});
  }
  m.objects = {body};
  return m;
}

// Rings of gold on black, keyed by the blend.
ImageDesc LocateImage() {
  constexpr int kSide = 16;
  ImageDesc image;
  image.width = kSide;
  image.height = kSide;
  image.palette = {{0, 0, 0}, {250, 210, 80}};
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      const int dx = 2 * x - kSide + 1, dy = 2 * y - kSide + 1;
      const int r2 = dx * dx + dy * dy;
      image.pixels.push_back(static_cast<uint8_t>((r2 < 64 || (r2 > 144 && r2 < 225)) ? 1 : 0));
    }
  }
  return image;
}

}  // namespace

bool WriteSamplePeople(const std::string& root, std::string& error) {
  plat::ByteWriter model;
  plat::ByteWriter marker;
  return WriteCreatureBinary(Mira(), model, error) && WriteOutputFile(root + kNpcModelFile, model.Bytes(), error) &&
         WriteImage(LocateImage(), marker, error) && WriteOutputFile(root + kLocateTexture, marker.Bytes(), error);
}

}  // namespace datagen
