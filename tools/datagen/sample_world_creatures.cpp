// The hero's creature models (forms 1 and 3), its face textures and the
// blob shadow's texture.
#include <cmath>

#include "tools/datagen/creature_binary_writer.h"
#include "tools/datagen/image_writer.h"
#include "tools/datagen/output_file.h"
#include "tools/datagen/sample_creatures.h"
#include "tools/datagen/sample_world_parts.h"

namespace datagen {
namespace {

using namespace sample;

constexpr int kSide = 16;

// A standing figure: a body box of two quads (front and side) and a
// morphing face whose second key opens the mouth. scale sets its size.
CreatureModel Hero(const char* name, float scale, uint8_t shade) {
  CreatureModel m;
  m.name = name;
  m.quantisedObjects = true;
  m.quantisedParts = true;
  m.frames = kHeroPoses * kHeroFramesPerPose;
  for (int pose = 0; pose < kHeroPoses; ++pose) {
    const int start = pose * kHeroFramesPerPose, end = start + kHeroFramesPerPose - 1;
    m.poses.push_back({start, end, start, start, end});
  }
  for (int f = 0; f < m.frames; ++f) {
    const int pose = f / kHeroFramesPerPose;
    const bool walking = pose >= 3 && pose <= 6;
    // Walk poses carry the root forward (-y) by 3 units a frame.
    m.frameOffsets.push_back({0, walking ? -3.0f * (f % kHeroFramesPerPose) : 0, 0});
  }

  CreatureMaterial cloth;
  cloth.texture = "grass";
  cloth.colour2[0] = cloth.colour2[1] = cloth.colour2[2] = shade / 255.0f;
  CreatureObject body;
  body.name = "body";
  body.materials = {cloth};
  const float w = 6 * scale, h = 30 * scale;
  body.vertices = {{-w, 0, 0, 0, -1, 0, 0, 0}, {w, 0, 0, 0, -1, 0, 1, 0}, {w, 0, h, 0, -1, 0, 1, 1},
                   {-w, 0, h, 0, -1, 0, 0, 1}, {0, -w, 0, 1, 0, 0, 0, 0}, {0, w, 0, 1, 0, 0, 1, 0},
                   {0, w, h, 1, 0, 0, 1, 1},   {0, -w, h, 1, 0, 0, 0, 1}};
  body.triangles = {{0, 1, 0, 1, 2}, {0, 1, 0, 2, 3}, {0, 1, 4, 5, 6}, {0, 1, 4, 6, 7}};
  for (int f = 0; f < m.frames; ++f) {
    // A slight sway while walking.
    const float sway = (f / kHeroFramesPerPose >= 3 && f / kHeroFramesPerPose <= 6) ? 0.05f * (f % 2) : 0;
    body.transforms.push_back(
        {std::cos(sway), std::sin(sway), 0, -std::sin(sway), std::cos(sway), 0, 0, 0, 1, 0, 0, 0});
  }
  m.objects = {body};

  CreatureMaterial skin;
  skin.texture = "stone";
  CreaturePart face;
  face.name = "mface";
  face.materials = {skin};
  const float top = h + 2 * scale, r = 3 * scale;
  face.vertices = {{0, 0, 0, 0, -1, 0, 0, 0}, {0, 0, 0, 0, -1, 0, 1, 0}, {0, 0, 0, 0, -1, 0, 0.5f, 1}};
  face.triangles = {{0, 1, 0, 1, 2}};
  face.keys = {{{-r, -1, h, 0, -1, 0}, {r, -1, h, 0, -1, 0}, {0, -1, top + r, 0, -1, 0}},
               {{-r, -1, h - r, 0, -1, 0}, {r, -1, h - r, 0, -1, 0}, {0, -1, top + r, 0, -1, 0}}};
  for (int f = 0; f < m.frames; ++f)
    face.weights.push_back(f / kHeroFramesPerPose == kHeroIdlePose ? 0.5f * (f % kHeroFramesPerPose) : 0.0f);
  m.parts = {face};
  return m;
}

// A 16 x 16 texture from a palette and an index pattern.
template <class Pattern>
bool Texture(const std::string& path, const std::vector<PaletteColour>& palette, Pattern pattern, std::string& error) {
  ImageDesc image;
  image.width = image.height = kSide;
  image.palette = palette;
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) image.pixels.push_back(pattern(x, y));
  plat::ByteWriter bytes;
  return WriteImage(image, bytes, error) && WriteOutputFile(path, bytes.Bytes(), error);
}

}  // namespace

bool WriteSampleCreatures(const std::string& root, std::string& error) {
  for (const auto& [file, model] : {std::pair{kHeroForm1File, Hero(kHeroForm1Model, 1.0f, 200)},
                                    std::pair{kHeroForm3File, Hero(kHeroForm3Model, 1.2f, 120)}}) {
    plat::ByteWriter bytes;
    if (!WriteCreatureBinary(model, bytes, error) || !WriteOutputFile(root + file, bytes.Bytes(), error)) return false;
  }
  // Face 00 looks ahead, face 01 has its eyes shut.
  const std::vector<PaletteColour> face = {{230, 190, 160}, {40, 30, 30}};
  auto eyes = [](bool open) {
    return [open](int x, int y) -> uint8_t { return (y == 6 || (open && y == 7)) && (x == 5 || x == 10); };
  };
  // The blob: dark in the middle, fading out to white at the rim.
  std::vector<PaletteColour> greys;
  for (int i = 0; i < 8; ++i)
    greys.push_back(
        {static_cast<uint8_t>(255 - i * 30), static_cast<uint8_t>(255 - i * 30), static_cast<uint8_t>(255 - i * 30)});
  auto blob = [](int x, int y) -> uint8_t {
    const float d = std::hypot(x - 7.5f, y - 7.5f);
    return static_cast<uint8_t>(d >= 7.5f ? 0 : 7 - static_cast<int>(d));
  };
  return Texture(root + kHeroFaceFiles[0], face, eyes(true), error) &&
         Texture(root + kHeroFaceFiles[1], face, eyes(false), error) &&
         Texture(root + kShadowTextureFile, greys, blob, error);
}

}  // namespace datagen
