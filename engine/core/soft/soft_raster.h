#pragma once
// Internal to the software rasteriser: its vertex records, the frame state
// and the span fillers. The public entry is soft_render.h.
#include <cstdint>
#include <vector>

#include "engine/core/math3d.h"

struct CAMERADESC;
struct MATERIALDESC;
struct NODEDESC;
struct TEXTUREDESC;
struct VIEWPORTDESC;

// The depth of a vertex behind the camera.
constexpr int32_t kBehindCamera = 16777215;

// One transformed vertex (the clipper's new vertices have the same layout).
struct SOFTVERTEX {
  float x = 0, y = 0, z = 0;  // view space
  int32_t sx = 0, sy = 0;     // screen column and row
  int32_t depth = 0;          // 0..65535 in front of the camera
  float u = 0, v = 0;         // as stored in the mesh
  int32_t tu = 0, tv = 0;     // u x 255 and v x 255
  int32_t light = 0;          // 0..255
};

// A texture the fillers can sample: power-of-two sides up to 256.
struct SOFTTEXTURE {
  const uint8_t* pixels = nullptr;
  const uint16_t* shades = nullptr;  // 256 colours x 16 levels
  int keyIndex = -1;
  int uShift = 0;  // 16 - log2 width
  int vShift = 0;  // 32 - log2 height
  int widthLog2 = 0;
};

// The frame globals.
struct SOFTFRAME {
  VIEWPORTDESC* viewport = nullptr;
  uint8_t* surface = nullptr;
  int pitch = 0;  // bytes; doubled under line doubling
  int screenWidth = 0;
  int screenRows = 0;  // rows reachable at that pitch
  float halfWidth = 0;
  float halfHeight = 0;
  float centreX = 0;
  float centreY = 0;
  int left = 0, top = 0, right = 0, bottom = 0;  // viewport bounds, inclusive
  uint16_t* depthBuffer = nullptr;
  int depthWidth = 0;
  MATRIX44 projection{};
  MATERIALDESC* material = nullptr;
  int ambientLevel = 0;
  int lightCount = 0;
  // Per node.
  int perspective = 0;
  int transparent = 0;
  int depthEnable = 0;
  int drawMode = 0;
};

extern SOFTFRAME g_softFrame;

// Makes a material current (null: the default one) with its ambient level.
void SelectSoftMaterial(MATERIALDESC* material);
// The default material current (frame start).
void ResetSoftMaterial();
// The material of a pool index current (the default one for an index that
// names none), unless it already is.
void SelectSoftMaterialIndex(int index);
// The current material's texture as the fillers take it; false when it has
// none the software path can sample.
bool CurrentSoftTexture(SOFTTEXTURE* texture);

// Projects a view-space vertex into the frame (no w test).
void ProjectSoftVertex(SOFTVERTEX* vertex);
// Draws a triangle of one node's mesh: skips, culls, clips or fills it.
void DrawSoftTriangle(const SOFTVERTEX* a, const SOFTVERTEX* b, const SOFTVERTEX* c, int faceFlags, bool pretransformed,
                      bool testClip);
// Transforms, lights and draws every triangle of a mesh node.
void DrawSoftMesh(NODEDESC* node, int boxResult);

// The clippers against the camera's six planes; the fan of what is left
// goes to the filler.
void ClipSoftTriangleFlat(const SOFTVERTEX* a, const SOFTVERTEX* b, const SOFTVERTEX* c);
void ClipSoftTriangleTextured(const SOFTVERTEX* a, const SOFTVERTEX* b, const SOFTVERTEX* c);
void SetSoftClipPlanes(const CAMERADESC* camera);
// The clipper's two polygon buffers (the rasteriser's work pools).
void AllocateSoftClipBuffers();
void FreeSoftClipBuffers();

// Chooses the filler by texture, colour key, perspective, transparency and depth.
void FillSoftTriangle(const SOFTVERTEX* a, const SOFTVERTEX* b, const SOFTVERTEX* c);

// The fillers. Each with depth hands the triangle to its no-depth twin when
// the node's Z-enable state is off.
void FillPerspective(const SOFTVERTEX* a, const SOFTVERTEX* b, const SOFTVERTEX* c, const SOFTTEXTURE& t);
void FillPerspectiveStipple(const SOFTVERTEX* a, const SOFTVERTEX* b, const SOFTVERTEX* c, const SOFTTEXTURE& t);
void FillPerspectiveKeyed(const SOFTVERTEX* a, const SOFTVERTEX* b, const SOFTVERTEX* c, const SOFTTEXTURE& t);
void FillPerspectiveKeyedStipple(const SOFTVERTEX* a, const SOFTVERTEX* b, const SOFTVERTEX* c, const SOFTTEXTURE& t);
void FillAffine(const SOFTVERTEX* a, const SOFTVERTEX* b, const SOFTVERTEX* c, const SOFTTEXTURE& t);
void FillAffineStipple(const SOFTVERTEX* a, const SOFTVERTEX* b, const SOFTVERTEX* c, const SOFTTEXTURE& t);
void FillAffineKeyed(const SOFTVERTEX* a, const SOFTVERTEX* b, const SOFTVERTEX* c, const SOFTTEXTURE& t);
void FillAffineKeyedStipple(const SOFTVERTEX* a, const SOFTVERTEX* b, const SOFTVERTEX* c, const SOFTTEXTURE& t);
void FillFlat(const SOFTVERTEX* a, const SOFTVERTEX* b, const SOFTVERTEX* c, const uint16_t* ramp);
void FillFlatStipple(const SOFTVERTEX* a, const SOFTVERTEX* b, const SOFTVERTEX* c, const uint16_t* ramp);
