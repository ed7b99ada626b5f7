#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/core/handles.h"

struct TEXTUREDESC;
struct MESHDESC;
struct DEVICEMATERIALDESC;
struct SOFTMATERIALDESC;

// Materials: four colours, a specular power and a chain of texture frames
// that can be stepped for animation, in the material pool (pools.h). Each
// has a device part: a device material on the Direct3D path, a 256-step
// shading ramp on the software path. Colours are three floats 0..1.

constexpr int kMaterialNameSize = 24;  // terminator included

struct MATERIALDESC {
  int index = 0;
  float ambient[3] = {};
  float diffuse[3] = {};
  float specular[3] = {};
  float emissive[3] = {};
  float power = 0;
  int frameCount = 0;                                  // 0: untextured
  char textureName[kMaterialNameSize] = {};            // "NULL" when untextured
  TEXTUREDESC* currentFrame = nullptr;                 // null: draws untextured
  TEXTUREDESC* firstFrame = nullptr;                   // frame k + 1 is frame k's next
  std::unique_ptr<DEVICEMATERIALDESC> deviceMaterial;  // Direct3D path
  std::unique_ptr<SOFTMATERIALDESC> softMaterial;      // software path
  int refCount = 0;                                    // meshes holding it
  ~MATERIALDESC();
};

// The handle, or 0 (a full pool is fatal: "No more material available.
// (MAT01)"). Frames "%s%02d" 00 to frameCount - 1 are loaded in order up to
// the first missing one; frameCount <= 0 loads the name itself. A null name
// or "NULL" makes an untextured material, and so does a texture that cannot
// be had. The key arguments go to LoadTexture.
HOBJECT CreateMaterial(const float* ambient, const float* diffuse, const float* specular, const float* emissive,
                       float power, const char* textureName, int frameCount, int keyFlag, int keyRed, int keyGreen,
                       int keyBlue);
// Direct3D path with a name: frames through LoadMipmapTexture (a single
// level when the device cannot filter mip maps); when none loads, the
// result of CreateMaterial. Otherwise CreateMaterial.
HOBJECT CreateTexturedMaterial(const float* ambient, const float* diffuse, const float* specular, const float* emissive,
                               float power, const char* textureName, int frameCount, int firstMipLevel,
                               int mipLevelCount, int keyFlag, int keyRed, int keyGreen, int keyBlue);
// One frame made from raw pixels, named "RAW_NONAME": 8, 16 or 24 bits on
// the Direct3D path, 8 on the software path; 0 for any other depth.
HOBJECT CreateMaterialFromPixels(const float* ambient, const float* diffuse, const float* specular,
                                 const float* emissive, float power, int bitsPerPixel, const void* pixels,
                                 const uint8_t* palette, int width, int height, int keyFlag, int keyIndex, int keyRed,
                                 int keyGreen, int keyBlue);
// Same colours, power, name and frames (each frame gains a reference),
// showing the first frame; -1 for a bad handle, 0 when the pool is full
// ("No more material available. (MAT03)").
HOBJECT CopyMaterial(HOBJECT material);
// Null colours are kept; the device part is refreshed.
void SetMaterialColors(HOBJECT material, const float* ambient, const float* diffuse, const float* specular,
                       const float* emissive);
// Any output may be null; name receives 24 bytes.
void GetMaterialColors(HOBJECT material, float* ambient, float* diffuse, float* specular, float* emissive, char* name);
// count 0 returns to the first frame; mode 1 wraps to the first frame past
// the end; mode 0 stops past the end with no frame current. 1 while a frame
// is current.
int AdvanceMaterialFrame(HOBJECT material, int count, int mode);
// Frees the material now, whoever holds it; ignores -1.
void DestroyMaterial(HOBJECT material);
// Rebuilds the device part from the colours (making it when missing).
void UpdateDeviceMaterial(MATERIALDESC* material);

// Every mesh that draws with a material holds one reference on it, so a
// material shared by two meshes outlives the destruction of one of them.
// The last release destroys the material, and so does a release of a
// material nobody retained.
void RetainMaterial(HOBJECT material);
void ReleaseMaterial(HOBJECT material);

// Material use by scene nodes.
// Mesh: primitives of old (every primitive for old -2) take new; billboard:
// its own material is destroyed and new (none for 0) takes its place.
void ReplaceNodeMaterial(HOBJECT node, HOBJECT oldMaterial, HOBJECT newMaterial);
// The distinct materials of a mesh's primitives in first-use order, all of
// them; both outputs optional and cleared first. Other kinds give none.
void GetNodeMaterials(HOBJECT node, std::vector<HOBJECT>* list, int* count);
// The same for a mesh record.
std::vector<HOBJECT> MeshMaterials(const MESHDESC* mesh);
// The material handle of primitive n of a mesh; 0 otherwise.
HOBJECT GetPrimitiveMaterial(HOBJECT node, int n);
