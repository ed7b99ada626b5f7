#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/handles.h"
#include "engine/core/math3d.h"

// Scene nodes: everything the engine draws, hears or looks through.
//
// A node is built in two steps: BeginNode opens the node under construction,
// property calls address it with handle 0, EndNode commits it under a parent
// and answers its handle. Drawable kinds (dummy, mesh, billboard, point list)
// also stand in the world's render list: opaque nodes first, translucent ones
// at the tail. Kind data is shared between a node and its shallow clones and
// counted by the reference count that opens every kind-data record.

struct GAMEWORLD;
struct TERRAINDESC;
struct LODGROUPDESC;
struct SOUNDDESC;
struct TEXTUREDESC;

enum NODEKIND : int {
  NODE_SOUND = 1,
  NODE_LISTENER = 2,
  NODE_LIGHT = 3,
  NODE_CAMERA = 4,
  NODE_DUMMY = 5,
  NODE_MESH = 6,
  NODE_BILLBOARD = 7,
  NODE_POINTS = 8,
};

inline bool IsDrawableKind(int kind) { return kind >= NODE_DUMMY && kind <= NODE_POINTS; }

// A node's own axes, named for its up and forward directions.
enum AXISCODE : int {
  AXIS_POS_X = 0,
  AXIS_POS_Y = 1,
  AXIS_POS_Z = 2,
  AXIS_NEG_X = 3,
  AXIS_NEG_Y = 4,
  AXIS_NEG_Z = 5,
};

// Codes of SetNodeRenderState.
enum NODERENDERSTATE : int {
  NRS_Z_TEST = 1,
  NRS_PERSPECTIVE = 2,
  NRS_TEXTURE_FILTER = 3,
  NRS_FOG = 4,
  NRS_ADDITIVE = 5,
  NRS_SHADING = 6,
  NRS_DITHERING = 7,
  NRS_ANTIALIAS = 8,
  NRS_SPECULAR = 9,
  NRS_ADDRESSING_STAGE0 = 10,  // through 17 for stage 7
  NRS_LIGHTING = 18,
  NRS_DEPTH_WRITE = 19,
  NRS_FACE_FLAGS = 20,
  NRS_WINDING = 21,
  NRS_SOURCE_BLEND = 22,
  NRS_DEST_BLEND = 23,
};

constexpr int kTextureStageSlots = 8;
constexpr int kBlendOne = 2;
constexpr int kBlendSourceAlpha = 5;
constexpr int kBlendInverseSourceAlpha = 6;
constexpr int kAddressWrap = 1;
constexpr int kAddressClamp = 2;

// The 23 render-state slots of a node, in slot order.
struct NODESTATES {
  int fog = 1;
  int zTest = 1;
  int depthWrite = 1;
  int textureFilter = 1;
  int perspective = 1;  // 0 on the software path
  int shading = 1;      // 1 Gouraud, 0 flat
  int dithering = 1;
  int antialias = 0;
  int specular = 0;
  int addressing[kTextureStageSlots] = {1, 1, 1, 1, 1, 1, 1, 1};  // 1 wrap, 2 clamp
  int lighting = 1;
  int winding = 0;
  int sourceBlend = kBlendSourceAlpha;
  int destBlend = kBlendInverseSourceAlpha;
  float alpha = 1.0f;
  int alphaByte = 255;
};

// One record per animation frame of a mesh.
struct FRAMEBOXDESC {
  VECTOR3 centre{0, 0, 0};
  float minX = -1, maxX = 1, minY = -1, maxY = 1, minZ = -1, maxZ = 1;
};

// Owned by its node. The squared radius is (largest extent / 2) squared:
// not the radius of a sphere around the box.
struct BOUNDSDESC {
  VECTOR3 centre{0, 0, 0};
  float radiusSquared = 1.0f;
  float minX = -1, maxX = 1, minY = -1, maxY = 1, minZ = -1, maxZ = 1;
  float scaleX = 1, scaleY = 1, scaleZ = 1;
  std::vector<FRAMEBOXDESC> frameBoxes;  // meshes: one per animation frame
};

// Six planes in view space, in the order near, far, top, bottom, left,
// right; a point p is inside when normal . p >= offset.
struct FRUSTUMPLANE {
  float offset = 0;
  VECTOR3 normal{0, 0, 0};
};

struct CAMERADESC {
  int refCount = 1;
  int projection = 1;  // 1 perspective, otherwise orthographic (2 also skips billboard culling)
  float aspect = 1.33f;
  float fieldOfView = 0;   // degrees
  float lens = 50;         // focal length, millimetres
  float aperture = 0.86f;  // film width, inches
  float nearPlane = 2;
  float farPlane = 5000;
  float viewWidth = 1.0f;  // orthographic
  MATRIX44 projectionMatrix{};
  // The window in units of the half view; (-1, -1, 2, 2) is the full view.
  float windowLeft = -1, windowBottom = -1, windowWidth = 2, windowHeight = 2;
  FRUSTUMPLANE frustum[6];
};

enum LIGHTTYPE : int { LIGHT_DIRECTIONAL = 1, LIGHT_POINT = 2, LIGHT_SPOT = 3 };

struct LIGHTDESC {
  int refCount = 1;
  int type = LIGHT_POINT;
  float color[3] = {1, 1, 1};
  float intensity = 0.8f;  // multiplies the colour
  float range = 1000;
  // Direct3D path: full cone angles in degrees; software path: cosines of the half angles.
  float innerCone = 90;
  float outerCone = 120;
  float falloff = 1.0f;
};

struct DUMMYDESC {
  int refCount = 1;
  VECTOR3 size{1, 1, 1};
};

struct BILLBOARDDESC {
  int refCount = 1;
  int materialIndex = -1;  // material pool slot, -1 = none; the billboard owns it
  float halfWidth = 0;
  float halfHeight = 0;
};

struct POINTDESC {
  int type = 1;
  VECTOR3 position{0, 0, 0};
};

// Point lists are never created by the game; the renderer leaves them undrawn.
struct POINTSDESC {
  int refCount = 1;
  int pointCount = 0;
  int fieldA = 0;
  std::vector<POINTDESC> points;
  int fieldB = 0;
  float color[3] = {1, 1, 1};
  uint32_t packedColor = 0xFFFFFFFFu;  // the colour at the node's alpha
  int fieldC = 0;
  int flag = 1;
};

// Eight 32-bit slots whose meaning follows the mesh flags:
//   plain mesh:        position x y z, normal x y z,            u v
//   pre-lit (0x1):     position x y z, reserved, diffuse, specular, u v
//   pre-transformed:   screen x y, depth z, 1/w, diffuse, specular, u v
// Packed colours are 0xAARRGGBB.
struct MESHVERTEX {
  float x = 0, y = 0, z = 0;
  union {
    float nx = 0;
    float rhw;
  };
  union {
    float ny = 0;
    uint32_t diffuse;
  };
  union {
    float nz = 0;
    uint32_t specular;
  };
  float u = 0, v = 0;
};
static_assert(sizeof(MESHVERTEX) == 32, "a mesh vertex is eight 32-bit slots");

// Primitive words. A triangle is six words {1, material or -1, face flags,
// a, b, c}, counter-clockwise seen from its front; a line list is
// {2, material or -1, n, then n pairs of vertex indices}, 3 + 2n words.
// Material words are material pool indices without the type byte.
using MESHPRIM = int32_t;
constexpr MESHPRIM PRIM_TRIANGLE = 1;
constexpr MESHPRIM PRIM_LINES = 2;
constexpr int kTriangleWords = 6;

// The words the primitive at words[at] occupies, or 0 when it does not fit
// in the wordsUsed words of the list (a walk must stop there).
inline int PrimitiveWordCount(const MESHPRIM* words, int at, int wordsUsed) {
  if (at < 0 || at + 2 > wordsUsed) return 0;
  int size = kTriangleWords;
  if (words[at] == PRIM_LINES) {
    if (at + 3 > wordsUsed || words[at + 2] < 0 || words[at + 2] > (wordsUsed - at - 3) / 2) return 0;
    size = 3 + 2 * words[at + 2];
  }
  return at + size <= wordsUsed ? size : 0;
}

constexpr uint32_t MESH_PRELIT = 0x01;
constexpr uint32_t MESH_PRETRANSFORMED = 0x10;

constexpr int kMaxMeshMaterials = 512;

// The light-mapped quads of a mesh, written by the text model reader.
struct LIGHTMAPSETDESC {
  int quadVertexCount = 0;                // 4 per quad
  std::vector<MESHVERTEX> quadVerticesA;  // the quads' own vertices
  std::vector<MESHVERTEX> quadVerticesB;  // the same with light-map corners as u, v
  int quadCount = 0;
  std::vector<int32_t> quads;  // 7 words per quad
  int lightMapCount = 0;
  std::vector<TEXTUREDESC*> lightMaps;  // one reference each
};

struct MESHDESC {
  int refCount = 1;
  uint32_t flags = 0;     // MESH_PRELIT, MESH_PRETRANSFORMED
  int primitiveMix = -1;  // -1 none yet, 0 triangles only, 1 lines only, 2 both
  int materialCount = 0;  // distinct materials
  int formatWord = 0;
  std::string name = "model";
  int vertexCount = 0;  // vertices per frame
  // All frames, frame after frame, each vertexCapacity records long.
  std::vector<MESHVERTEX> vertexArrays;
  std::vector<uint8_t> extraBuffer;  // model loaders
  int currentFrame = 0;
  int frameCount = 1;
  int vertexCapacity = 0;
  int primitiveCount = 0;
  int primitiveCountCopy = 0;
  int wordsUsed = 0;
  // Its size is the primitive list capacity in words.
  std::vector<MESHPRIM> primitives;
  // Software path: 2 bytes per vertex of capacity; empty on Direct3D.
  std::vector<uint16_t> softWork;
  std::vector<uint8_t> vertexRecords;  // optional, 16 bytes per vertex
  LIGHTMAPSETDESC* lightMaps = nullptr;
  // The materials this mesh holds one reference on each (SyncMeshMaterials).
  std::vector<int> heldMaterials;

  // The current frame's vertices, null when the arrays do not hold that frame.
  MESHVERTEX* CurrentVertices() {
    size_t start = static_cast<size_t>(currentFrame) * static_cast<size_t>(vertexCapacity);
    if (currentFrame < 0 || vertexCapacity <= 0 || start + vertexCapacity > vertexArrays.size()) return nullptr;
    return vertexArrays.data() + start;
  }
  const MESHVERTEX* CurrentVertices() const { return const_cast<MESHDESC*>(this)->CurrentVertices(); }
};

// One pairing of a node's collision list; the partner's list holds the mirror entry.
struct COLLISIONDESC {
  int volume = 1;  // this node's volume: 1 box, 2 mesh triangles
  struct NODEDESC* partner = nullptr;
  COLLISIONDESC* next = nullptr;
};

struct NODEDESC {
  int index = 0;
  int kind = 0;
  MATRIX34 local{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 0, 0}}};
  MATRIX44 world{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};  // renderer's, per frame
  int worldValid = 0;
  int dirty = 0;
  double markTime = 0;
  int enabled = 1;  // 0: neither drawn nor composed into its descendants
  int visible = 1;
  int cull = 1;
  int drawMode = 0;  // 0 normal, 1 untextured (software), 2 wire lines (Direct3D)
  int reservedA = 0;
  void* kindData = nullptr;  // by kind: SOUNDDESC, LIGHTDESC, CAMERADESC, DUMMYDESC, MESHDESC, ...
  BOUNDSDESC* bounds = nullptr;
  int reservedB = 0;
  std::vector<uint8_t> extraBlock;  // owned, copied by clones
  int showBox = 0;
  int showVertices = 0;
  int upAxis = AXIS_POS_Z;
  int forwardAxis = AXIS_NEG_Y;
  void (*preDraw)() = nullptr;
  NODESTATES states;
  int drawn = 0;
  int reservedC = 0;
  NODEDESC* parent = nullptr;
  NODEDESC* nextSibling = nullptr;
  NODEDESC* prevSibling = nullptr;
  NODEDESC* firstChild = nullptr;
  NODEDESC* lastChild = nullptr;
  NODEDESC* renderNext = nullptr;
  NODEDESC* renderPrev = nullptr;
  std::vector<uint8_t> work;  // workSize = work.size(); clones get zeros
  float sortKey = 0;
  TERRAINDESC* terrain = nullptr;
  int terrainTriangle = -1;
  float heightOffset = 0;
  COLLISIONDESC* collisionHead = nullptr;
  COLLISIONDESC* collisionTail = nullptr;
  NODEDESC* lastPartner = nullptr;   // set through SetLastPartner
  std::vector<NODEDESC*> partnerOf;  // the nodes whose lastPartner is this one
  int partnerPrimitive = -1;
  NODEDESC* lodOwner = nullptr;
  LODGROUPDESC* lodGroup = nullptr;
  std::vector<std::vector<uint8_t>> buffers;  // bufferCount = buffers.size()
  int moved = 0;
  std::vector<uint8_t> softBuffer;  // softBufferSize = softBuffer.size(); software path

  MESHDESC* Mesh() const { return kind == NODE_MESH ? static_cast<MESHDESC*>(kindData) : nullptr; }
};

// The node opened by BeginNode and not yet committed; null when none.
extern NODEDESC* g_nodeUnderConstruction;

inline HOBJECT NodeHandle(const NODEDESC* node) {
  return node ? MakeHandle(OBJTYPE_NODE, static_cast<uint32_t>(node->index)) : 0;
}

// Opens a node under construction with its defaults and kind data; drawable
// kinds join the render-list tail at once. Ignored while another node is
// open or without a world.
void BeginNode(int kind);
// The same with the kind data given (shared or copied by the caller) in
// place of fresh defaults.
void BeginNodeWithData(int kind, void* kindData);
// Commits the node under construction under parent (0: none); 0 when the
// pool is full ("No more node available. (N01)", the engine closes).
HOBJECT EndNode(HOBJECT parent);
// A dummy box of the given size (1, 1, 1 when null), centred on its origin.
HOBJECT CreateDummyNode(HOBJECT parent, const VECTOR3* size);

HOBJECT GetNodeParent(HOBJECT node);
// Appends the node as the new parent's last child (0 detaches); its
// level-of-detail members follow.
void SetNodeParent(HOBJECT node, HOBJECT parent);

// Sets node->lastPartner and keeps the partners' back-references in step.
void SetLastPartner(NODEDESC* node, NODEDESC* partner);

// Orphans the children, frees what the node owns, releases its kind data and
// empties the slot; answers the freed slot index (-1 when nothing was freed).
// The pool's high-water mark stays where it is.
int DestroyNode(HOBJECT node);

GAMEWORLD* GetGameWorld();

// The committed or open node of a handle whose kind is one of the given
// kind; null otherwise (and while the engine is closed).
NODEDESC* LookupNodeOfKind(HOBJECT handle, int kind);
// While the engine is open; null for a handle that does not resolve.
NODEDESC* LookupOpenNode(HOBJECT handle);
