// Per-vertex transform, lighting and projection of the software path, the
// per-triangle decisions (behind the camera, back faces, clipping) and the
// box test both paths share.
#include <algorithm>
#include <bit>
#include <cmath>

#include "engine/core/device_setup.h"
#include "engine/core/frame_statistics.h"
#include "engine/core/material_device.h"
#include "engine/core/materials.h"
#include "engine/core/nodes.h"
#include "engine/core/pools.h"
#include "engine/core/render_resources.h"
#include "engine/core/soft/soft_raster.h"
#include "engine/core/soft/soft_render.h"
#include "engine/core/world.h"
#include "engine/media/texture_table.h"

SOFTFRAME g_softFrame;

namespace {

int g_currentMaterialIndex = -1;

// Float to int truncation, held where the fixed-point set-up has room.
int32_t Truncate(double value) { return static_cast<int32_t>(std::clamp(value, -16777216.0, 16777216.0)); }

bool PowerOfTwoUpTo256(int side) {
  return side >= 1 && side <= 256 && std::has_single_bit(static_cast<unsigned>(side));
}

float Dot(float ax, float ay, float az, float bx, float by, float bz) { return ax * bx + ay * by + az * bz; }

// The sum of the light copies' contributions, stopping once it passes 1.
float LightSum(const SOFTVERTEX& v, float nx, float ny, float nz) {
  float sum = 0;
  for (int i = 0; i < g_softFrame.lightCount && sum <= 1.0f; ++i) {
    const SOFTLIGHTDESC& copy = *g_gameWorld->softLights[i];
    const LIGHTDESC& light = *copy.light;
    if (light.type == LIGHT_DIRECTIONAL) {
      float c = -Dot(nx, ny, nz, copy.direction.x, copy.direction.y, copy.direction.z);
      if (c > 0) sum += c * light.intensity;
      continue;
    }
    float lx = copy.position.x - v.x, ly = copy.position.y - v.y, lz = copy.position.z - v.z;
    float d = std::sqrt(Dot(lx, ly, lz, lx, ly, lz));
    if (d == 0 || d > light.range) continue;
    float c = Dot(lx, ly, lz, nx, ny, nz) / d;
    if (c <= 0) continue;
    float reach = (light.range - d) / light.range;
    if (light.type == LIGHT_POINT) {
      sum += c * reach * light.intensity;
    } else if (light.type == LIGHT_SPOT) {
      float s = -Dot(lx, ly, lz, copy.direction.x, copy.direction.y, copy.direction.z) / d;
      if (s < light.outerCone) continue;
      float f = 1.0f;
      if (!(s > light.innerCone || light.falloff == 0))
        f = std::pow((s - light.outerCone) / (light.innerCone - light.outerCone), light.falloff);
      sum += reach * c * f * light.intensity;
    }
  }
  return sum;
}

void ProcessVertex(const MESHVERTEX& m, SOFTVERTEX& v, const MATRIX44& mv, bool pretransformed, bool lit) {
  ++g_frameStatistics.verticesTransformed;
  v.u = m.u;
  v.v = m.v;
  v.tu = Truncate(m.u * 255.0);
  v.tv = Truncate(m.v * 255.0);
  if (pretransformed) {
    v.x = v.y = v.z = 0;
    v.sx = Truncate(m.x);
    v.sy = Truncate(m.y);
    v.depth = Truncate(m.z * 65535.0);
    v.light = 255;
    return;
  }
  const float* t = mv.m;
  v.x = m.x * t[0] + m.y * t[4] + m.z * t[8] + t[12];
  v.y = m.x * t[1] + m.y * t[5] + m.z * t[9] + t[13];
  v.z = m.x * t[2] + m.y * t[6] + m.z * t[10] + t[14];
  const float* p = g_softFrame.projection.m;
  if (v.z * p[11] + p[15] <= 0) {
    v.depth = kBehindCamera;
    v.light = 255;
    return;
  }
  ProjectSoftVertex(&v);
  if (!lit) {
    v.light = 255;
    return;
  }
  float nx = m.nx * t[0] + m.ny * t[4] + m.nz * t[8];
  float ny = m.nx * t[1] + m.ny * t[5] + m.nz * t[9];
  float nz = m.nx * t[2] + m.ny * t[6] + m.nz * t[10];
  v.light = std::min(g_softFrame.ambientLevel + Truncate(LightSum(v, nx, ny, nz) * 255.0), 255);
}

bool InsideFrame(const SOFTVERTEX& v) {
  const SOFTFRAME& f = g_softFrame;
  return v.depth >= 0 && v.depth <= 65535 && v.sx >= f.left && v.sx <= f.right && v.sy >= f.top && v.sy <= f.bottom;
}

MATERIALDESC* MaterialOfWord(int word) {
  if (word < 0 || word >= static_cast<int>(g_materialPool.kSize)) return nullptr;
  return g_materialPool.slots[word];
}

}  // namespace

void SelectSoftMaterial(MATERIALDESC* material) {
  SOFTFRAME& f = g_softFrame;
  f.material = material ? material : DefaultMaterial();
  if (f.material && !f.material->softMaterial) CreateSoftwareMaterial(f.material);
  float ambient = f.material ? f.material->softMaterial->ambientMax : 0;
  f.ambientLevel = std::clamp(Truncate(ambient * g_gameWorld->softAmbient * 255.0), 0, 255);
}

bool CurrentSoftTexture(SOFTTEXTURE* out) {
  const MATERIALDESC* m = g_softFrame.material;
  const TEXTUREDESC* t = m ? m->currentFrame : nullptr;
  // The fillers address texels by shifting, so only power-of-two sides up
  // to 256 can be sampled; any other texture draws as untextured.
  if (!t || !PowerOfTwoUpTo256(t->width) || !PowerOfTwoUpTo256(t->height) ||
      t->pixels.size() < static_cast<size_t>(t->width) * t->height || t->shadeTable.size() < 256 * 16)
    return false;
  int widthLog2 = std::countr_zero(static_cast<unsigned>(t->width));
  int heightLog2 = std::countr_zero(static_cast<unsigned>(t->height));
  *out = {t->pixels.data(), t->shadeTable.data(), t->keyIndex, 16 - widthLog2, 32 - heightLog2, widthLog2};
  return true;
}

void ProjectSoftVertex(SOFTVERTEX* v) {
  const SOFTFRAME& f = g_softFrame;
  const float* p = f.projection.m;
  double w = v->z * p[11] + p[15];
  double r = w != 0 ? 1.0 / w : 0;
  v->sx = Truncate(r * (v->x * p[0] + v->z * p[8] + p[12]) * f.halfWidth + f.centreX);
  v->sy = Truncate(f.centreY - r * (v->y * p[5] + v->z * p[9] + p[13]) * f.halfHeight);
  v->depth = Truncate(r * (v->z * p[10] + p[14]) * 65535.0);
}

void DrawSoftTriangle(const SOFTVERTEX* a, const SOFTVERTEX* b, const SOFTVERTEX* c, int faceFlags, bool pretransformed,
                      bool testClip) {
  if (a->depth == kBehindCamera && b->depth == kBehindCamera && c->depth == kBehindCamera) return;
  if (faceFlags == 0 && !pretransformed) {
    float ux = b->x - a->x, uy = b->y - a->y, uz = b->z - a->z;
    float vx = c->x - a->x, vy = c->y - a->y, vz = c->z - a->z;
    float nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
    if (Dot(nx, ny, nz, a->x, a->y, a->z) >= 0) return;
  }
  if (testClip && !(InsideFrame(*a) && InsideFrame(*b) && InsideFrame(*c))) {
    SOFTTEXTURE texture;
    if (g_softFrame.drawMode == 1 || !CurrentSoftTexture(&texture)) ClipSoftTriangleFlat(a, b, c);
    else ClipSoftTriangleTextured(a, b, c);
    return;
  }
  FillSoftTriangle(a, b, c);
}

void DrawSoftMesh(NODEDESC* node, int boxResult) {
  MESHDESC* mesh = node->Mesh();
  MESHVERTEX* vertices = mesh->CurrentVertices();
  int count = mesh->vertexCount;
  if (!vertices || count <= 0 || count > mesh->vertexCapacity) return;
  bool pretransformed = (mesh->flags & MESH_PRETRANSFORMED) != 0;
  bool lit = node->states.lighting && !(mesh->flags & MESH_PRELIT) && !pretransformed;
  node->drawn = 1;
  size_t cacheBytes = static_cast<size_t>(count) * sizeof(SOFTVERTEX);
  if (node->softBuffer.size() < cacheBytes) node->softBuffer.resize(cacheBytes);
  auto* cache = reinterpret_cast<SOFTVERTEX*>(node->softBuffer.data());
  if (mesh->softWork.size() < static_cast<size_t>(count)) mesh->softWork.resize(static_cast<size_t>(count));
  std::fill(mesh->softWork.begin(), mesh->softWork.begin() + count, 0);

  SOFTFRAME& f = g_softFrame;
  f.depthEnable = node->states.zTest && f.depthBuffer;
  f.perspective = node->states.perspective;
  f.transparent = node->states.alphaByte < 255;
  f.drawMode = node->drawMode;
  auto vertex = [&](int index) -> const SOFTVERTEX* {
    if (!mesh->softWork[index]) {
      ProcessVertex(vertices[index], cache[index], node->world, pretransformed, lit);
      mesh->softWork[index] = 1;
    }
    return &cache[index];
  };
  const MESHPRIM* words = mesh->primitives.data();
  int used = std::min(mesh->wordsUsed, static_cast<int>(mesh->primitives.size()));
  for (int n = 0, at = 0; n < mesh->primitiveCount; ++n) {
    int size = PrimitiveWordCount(words, at, used);
    if (size == 0) break;
    SelectSoftMaterialIndex(words[at + 1]);
    ++g_frameStatistics.primitivesSubmitted;
    if (words[at] == PRIM_TRIANGLE) {
      int ia = words[at + 3], ib = words[at + 4], ic = words[at + 5];
      if (ia >= 0 && ib >= 0 && ic >= 0 && ia < count && ib < count && ic < count) {
        const SOFTVERTEX* c = vertex(ic);
        const SOFTVERTEX* b = vertex(ib);
        const SOFTVERTEX* a = vertex(ia);
        DrawSoftTriangle(a, b, c, words[at + 2], pretransformed, boxResult != 2);
      }
    }
    at += size;
  }
}

void SelectSoftMaterialIndex(int index) {
  if (index == g_currentMaterialIndex) return;
  g_currentMaterialIndex = index;
  SelectSoftMaterial(MaterialOfWord(index));
}

// The default material is current at the start of every frame.
void ResetSoftMaterial() {
  g_currentMaterialIndex = -1;
  SelectSoftMaterial(nullptr);
}

int CullNodeBox(const NODEDESC* node, const MATRIX44* matrix) {
  if (!node || !node->bounds || !matrix) return 1;
  const BOUNDSDESC& b = *node->bounds;
  const float* m = matrix->m;
  int met[6] = {};
  for (int corner = 0; corner < 8; ++corner) {
    float x = (corner & 1) ? b.maxX : b.minX;
    float y = (corner & 2) ? b.maxY : b.minY;
    float z = (corner & 4) ? b.maxZ : b.minZ;
    float cx = x * m[0] + y * m[4] + z * m[8] + m[12];
    float cy = x * m[1] + y * m[5] + z * m[9] + m[13];
    float cz = x * m[2] + y * m[6] + z * m[10] + m[14];
    float cw = x * m[3] + y * m[7] + z * m[11] + m[15];
    met[0] += cx < cw;
    met[1] += cx > -cw;
    met[2] += cy < cw;
    met[3] += cy > -cw;
    met[4] += cz > 0;
    met[5] += cz < cw;
  }
  bool all = true;
  for (int count : met) {
    if (count == 0) return 0;
    all = all && count == 8;
  }
  return all ? 2 : 1;
}
