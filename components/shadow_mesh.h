#pragma once
#include <memory>
#include <vector>

#include "engine/core/handles.h"
#include "engine/core/math3d.h"

// Creature shadows on walkable ground. A projected shadow renders the
// creature from a light into a texture mapped onto a small mesh laid over
// the ground triangles under it; a blob lays a fixed dark texture over the
// same triangles, stretched away from the light. The ground patch stands 0.8
// above the terrain.

// One pooled render-target shadow mesh.
struct SHADOWENTRY {
  int index = 0;
  HOBJECT node = 0;
  int inUse = 0;
};

// Hands out render-target shadow meshes ("_SHoRuN%03d", 256 texels for the
// first, 128 for the later ones), reusing released ones first.
class CShadowMeshPool {
 public:
  CShadowMeshPool() = default;
  ~CShadowMeshPool();
  CShadowMeshPool(const CShadowMeshPool&) = delete;
  CShadowMeshPool& operator=(const CShadowMeshPool&) = delete;

  SHADOWENTRY* Acquire();
  // Marks it unused and hides its mesh.
  void Release(SHADOWENTRY* entry);

  std::vector<std::unique_ptr<SHADOWENTRY>> entries;
  std::vector<HOBJECT> extraNodes;  // destroyed with the pool
};

// Pool entries ever created.
extern int g_shadowEntriesCreated;

// A 5 x 5 grid over 20 x 20 units: "shadow1" (renderTarget 0; the size is not
// used), or a render target of textureSize named textureName or "shadow2".
// Culling off, opacity 0.99, multiplying blend, clamped texture.
HOBJECT CreateShadowMesh(int renderTarget, const char* textureName, int textureSize);
// Aims the light camera at the creature from the light (far above without
// one), framing 40 units around it; with render the listed nodes are drawn
// into the entry's texture. out maps world points into that texture.
void ComputeShadowProjection(const SHADOWENTRY* entry, HOBJECT lightCamera, HOBJECT lightNode, HOBJECT creatureNode,
                             const std::vector<HOBJECT>& nodes, MATRIX44* out, int render);
// The corners of the terrain triangle the creature stands on, then of each
// adjacent triangle; 0 when it stands on none.
int CollectGroundTriangles(HOBJECT creatureNode, std::vector<VECTOR3>* points);
// The same, 0 at once while the engine is closed.
int CollectBlobGroundTriangles(HOBJECT creatureNode, std::vector<VECTOR3>* points);
// Lays the entry's mesh over the ground with texture coordinates through the
// matrix; 0 (mesh untouched) off the terrain.
int UpdateProjectedShadow(const SHADOWENTRY* entry, HOBJECT creatureNode, const MATRIX44* matrix);
// Lays a blob of size units over the ground, stretched away from the light
// when it stands above; a colour makes a longer shadow fainter. 0 off the terrain.
int UpdateGroundShadow(HOBJECT creatureNode, HOBJECT mesh, float size, HOBJECT lightNode, const float* colour);
