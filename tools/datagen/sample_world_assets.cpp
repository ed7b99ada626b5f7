// The sample world's textures (one package) and the ground model using them.
#include <vector>

#include "platform/files.h"
#include "tools/datagen/image_writer.h"
#include "tools/datagen/model_text_writer.h"
#include "tools/datagen/output_file.h"
#include "tools/datagen/package_writer.h"
#include "tools/datagen/sample_world.h"
#include "tools/datagen/sample_world_parts.h"

namespace datagen {
namespace {

using namespace sample;

// A 16 x 16 texture of palette index pattern(x, y).
template <class Pattern>
bool Texture(const std::vector<PaletteColour>& palette, Pattern pattern, std::vector<uint8_t>& out,
             std::string& error) {
  ImageDesc image;
  image.magic = ImageMagic::Qbt;
  image.width = kTextureSide;
  image.height = kTextureSide;
  image.palette = palette;
  for (int y = 0; y < kTextureSide; ++y)
    for (int x = 0; x < kTextureSide; ++x) image.pixels.push_back(pattern(x, y));
  plat::ByteWriter bytes;
  if (!WriteImage(image, bytes, error)) return false;
  out = bytes.Bytes();
  return true;
}

// Two greens with scattered light blades.
uint8_t Grass(int x, int y) {
  if ((x * 7 + y * 13) % 11 == 0) return 2;
  return static_cast<uint8_t>((x / 2 + y / 2) % 2);
}

// Grey bricks of 8 x 4 with dark mortar, every other row offset by half a brick.
uint8_t Stone(int x, int y) {
  const int shift = (y / 4) % 2 ? 4 : 0;
  if (y % 4 == 3 || (x + shift) % 8 == 7) return 0;
  return static_cast<uint8_t>(1 + (x + shift) / 8 % 2);
}

Qx3Model GroundModel() {
  Qx3Material grass;
  grass.texture = kGrassTexture;
  Qx3Object ground;
  ground.index = 1;
  ground.name = kGroundModel;
  ground.materials = {grass};
  const float s = kGroundHalfSide;
  const float corners[4][4] = {{-s, -s, 0, 0}, {s, -s, 1, 0}, {s, s, 1, 1}, {-s, s, 0, 1}};
  for (const auto& c : corners) {
    Qx3Vertex v;
    v.x = c[0];
    v.y = c[1];
    v.hasUv = true;
    v.u = c[2];
    v.v = c[3];
    ground.vertices.push_back(v);
  }
  Qx3Face face;
  face.material = grass.number;
  face.indices = {0, 1, 2, 3};
  ground.faces = {face};
  Qx3Model model;
  model.objects = {ground};
  return model;
}

}  // namespace

bool WriteSampleAssets(const std::string& root, std::string& error) {
  PackageFile grass{std::string(kGrassTexture) + ".qbt", {}};
  PackageFile stone{std::string(kStoneTexture) + ".qbt", {}};
  if (!Texture({{40, 110, 30}, {60, 140, 40}, {150, 200, 90}}, Grass, grass.data, error) ||
      !Texture({{50, 50, 55}, {130, 130, 125}, {150, 145, 140}}, Stone, stone.data, error))
    return false;
  plat::ByteWriter package;
  if (!WritePackage({grass, stone}, package, error) || !WriteOutputFile(root + kTexturePackage, package.Bytes(), error))
    return false;

  plat::ByteWriter model;
  return WriteTextModel(GroundModel(), model, error) && WriteOutputFile(root + kGroundModelFile, model.Bytes(), error);
}

}  // namespace datagen
