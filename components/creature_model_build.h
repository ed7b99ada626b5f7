#pragma once
#include <string>
#include <vector>

#include "engine/core/handles.h"
#include "engine/core/nodes.h"

class CModelData;

// What the two creature model readers share: the root box, the axes dummy of
// a hidden object, materials from their 88-byte records, and the mesh nodes.

// A material record as the ".MCB" file and the text reader hold it.
struct CREATUREMATERIAL {
  std::string texture;  // a leading 'k' becomes 'K': colour-keyed
  uint8_t key[3] = {0, 0, 0};
  int frames = 0;
  float power = 0.25f;
  float alpha = 1.0f;
  int renderType = 2;
  float emission = 0;
  int faceFlags = 0;
  float colour1[3] = {1, 1, 1};
  float colour2[3] = {0, 0, 0};
  float colour3[3] = {0, 0, 0};
  HOBJECT handle = static_cast<HOBJECT>(-1);

  bool Keyed() const { return !texture.empty() && (texture[0] == 'k' || texture[0] == 'K'); }
  bool KeyedBlue() const { return Keyed() && key[0] == 0 && key[1] == 0 && key[2] == 255; }
};

// The box (-4, -4, 0) to (4, 4, 36), committed without a parent; 0 on failure.
HOBJECT CreateCreatureRootBox();
// Three 4-unit lines along x, y and z, shown, under parent.
HOBJECT CreateCreatureAxesDummy(HOBJECT parent);
// Colour 1 forced to white; the fourth colour is (0, 0, 0) on the Direct3D
// path (textModel: the emission grey) and white on the software path. The
// handle is also stored in the record; -1 when it failed.
HOBJECT CreateCreatureMaterial(CREATUREMATERIAL& material, bool textModel);
// The Direct3D path's blend settings of a render type.
void ApplyCreatureRenderType(HOBJECT node, int renderType);

struct CREATUREMESHBUILD {
  std::vector<MESHVERTEX> vertices;
  std::vector<MESHPRIM> words;  // triangles with material handles
  int triangleCount = 0;
  bool colours = false;   // pre-lit: floats 3 to 5 are colours
  bool scrolled = false;  // a scroll entry names this mesh: keep texture wrapping
};

// Builds and commits the mesh under parent; 0 when the node could not be made.
HOBJECT BuildCreatureMesh(const CREATUREMESHBUILD& build, HOBJECT parent);
// Alpha, colour-key filtering and render type from the given materials.
void FinishCreatureMesh(HOBJECT node, const CREATUREMATERIAL& alphaFrom, bool blueKey, float* meshAlpha);

// Materials no mesh took are destroyed; the others stay with their meshes.
void ReleaseUnheldMaterials(const std::vector<CREATUREMATERIAL>& materials);
