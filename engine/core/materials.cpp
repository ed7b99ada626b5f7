#include "engine/core/materials.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/core/device_setup.h"
#include "engine/core/engine_messages.h"
#include "engine/core/engine_state.h"
#include "engine/core/material_device.h"
#include "engine/core/nodes.h"
#include "engine/core/pools.h"
#include "engine/core/world.h"
#include "engine/media/texture_create.h"
#include "engine/media/texture_files.h"
#include "engine/media/texture_table.h"
#include "platform/debug_output.h"

MATERIALDESC::~MATERIALDESC() = default;

namespace {

constexpr int kMaxFirstMipLevel = 7;
constexpr int kMaxMipLevels = 8;

bool WorldReady() { return g_engineOpen && g_gameWorld; }

void CopyColor(float* to, const float* from) {
  if (from) std::copy(from, from + 3, to);
  else std::fill(to, to + 3, 0.0f);
}

void SetName(MATERIALDESC* m, const char* name) {
  std::memset(m->textureName, 0, sizeof m->textureName);
  std::strncpy(m->textureName, name, sizeof m->textureName - 1);
}

MATERIALDESC* NewMaterial(const float* ambient, const float* diffuse, const float* specular, const float* emissive,
                          float power) {
  auto* m = new MATERIALDESC;
  CopyColor(m->ambient, ambient);
  CopyColor(m->diffuse, diffuse);
  CopyColor(m->specular, specular);
  CopyColor(m->emissive, emissive);
  m->power = power;
  SetName(m, "NULL");
  return m;
}

// Loads frames "%s%02d" up to the first missing one, or the name itself for
// count <= 0, and chains them; the material shows the first.
template <typename Load>
void LoadFrames(MATERIALDESC* m, const char* name, int count, Load load) {
  if (!name || std::strcmp(name, "NULL") == 0) return;
  SetName(m, name);
  TEXTUREDESC* last = nullptr;
  auto add = [&](TEXTUREDESC* t) {
    if (last) last->next = t;
    else m->firstFrame = t;
    last = t;
    ++m->frameCount;
  };
  if (count <= 0) {
    if (TEXTUREDESC* t = load(name)) add(t);
  } else {
    for (int k = 0; k < count; ++k) {
      std::string frame = name;
      char number[16];
      std::snprintf(number, sizeof number, "%02d", k);
      frame += number;
      TEXTUREDESC* t = load(frame.c_str());
      if (!t) break;
      add(t);
    }
  }
  m->currentFrame = m->firstFrame;
}

void ReleaseFrames(MATERIALDESC* m) {
  TEXTUREDESC* frame = m->firstFrame;
  for (int i = 0; i < m->frameCount && frame; ++i) {
    TEXTUREDESC* next = frame->next;
    ReleaseTexture(frame);
    frame = next;
  }
  m->firstFrame = m->currentFrame = nullptr;
  m->frameCount = 0;
}

void FreeMaterial(MATERIALDESC* m) {
  ReleaseFrames(m);
  ReleaseDeviceMaterial(m);
  FreeSoftMaterial(m);
  delete m;
}

// The device part and a pool slot; 0 (the record freed) when either fails.
HOBJECT Commit(MATERIALDESC* m, const char* fullMessage) {
  bool made = true;
  if (g_useDirect3D) made = CreateDeviceMaterial(m);
  else CreateSoftwareMaterial(m);
  if (!made) {
    FreeMaterial(m);
    return 0;
  }
  int slot = g_materialPool.Allocate(m);
  if (slot < 0) {
    FreeMaterial(m);
    ShowFatalMessage("%s", fullMessage);
    return 0;
  }
  return MakeHandle(OBJTYPE_MATERIAL, static_cast<uint32_t>(slot));
}

// The position of the current frame in the material's list, -1 when none.
int CurrentPosition(const MATERIALDESC* m) {
  const TEXTUREDESC* frame = m->firstFrame;
  for (int i = 0; i < m->frameCount && frame; ++i, frame = frame->next)
    if (frame == m->currentFrame) return i;
  return -1;
}

// Steps the current frame up to count times; past the last of the
// material's frames none is current.
void StepFrames(MATERIALDESC* m, int count) {
  int position = CurrentPosition(m);
  for (int i = 0; i < count && m->currentFrame; ++i) {
    ++position;
    m->currentFrame = position < m->frameCount ? m->currentFrame->next : nullptr;
  }
}

// Takes frame out of other materials' lists before it is freed: their first
// and current frames and their links move on to the frame after it.
void UnlinkFromOthers(const MATERIALDESC* self, const TEXTUREDESC* frame) {
  for (uint32_t slot = 0; slot < g_materialPool.mark; ++slot) {
    MATERIALDESC* other = g_materialPool.slots[slot];
    if (!other || other == self) continue;
    if (other->firstFrame == frame) other->firstFrame = frame->next;
    if (other->currentFrame == frame) other->currentFrame = frame->next;
    TEXTUREDESC* link = other->firstFrame;
    for (int i = 0; i < other->frameCount && link; ++i, link = link->next)
      if (link->next == frame) link->next = frame->next;
  }
}

// A destroyed material is no longer held by any mesh, so that a later
// release by a mesh cannot reach whatever takes its slot next.
void ForgetInMeshes(int index) {
  auto forget = [index](NODEDESC* node) {
    MESHDESC* mesh = node ? node->Mesh() : nullptr;
    if (!mesh) return;
    auto& held = mesh->heldMaterials;
    auto it = std::lower_bound(held.begin(), held.end(), index);
    if (it != held.end() && *it == index) held.erase(it);
  };
  for (uint32_t slot = 0; slot < g_nodePool.mark; ++slot) forget(g_nodePool.slots[slot]);
  forget(g_nodeUnderConstruction);
}

}  // namespace

HOBJECT CreateMaterial(const float* ambient, const float* diffuse, const float* specular, const float* emissive,
                       float power, const char* textureName, int frameCount, int keyFlag, int keyRed, int keyGreen,
                       int keyBlue) {
  if (!WorldReady()) return 0;
  MATERIALDESC* m = NewMaterial(ambient, diffuse, specular, emissive, power);
  LoadFrames(m, textureName, frameCount,
             [&](const char* name) { return LoadTexture(name, keyFlag, keyRed, keyGreen, keyBlue); });
  return Commit(m, "No more material available. (MAT01)");
}

HOBJECT CreateTexturedMaterial(const float* ambient, const float* diffuse, const float* specular, const float* emissive,
                               float power, const char* textureName, int frameCount, int firstMipLevel,
                               int mipLevelCount, int keyFlag, int keyRed, int keyGreen, int keyBlue) {
  if (!WorldReady()) return 0;
  if (!g_useDirect3D || !textureName)
    return CreateMaterial(ambient, diffuse, specular, emissive, power, textureName, frameCount, keyFlag, keyRed,
                          keyGreen, keyBlue);
  if (g_mipFilter == 0) mipLevelCount = 1;
  firstMipLevel = std::clamp(firstMipLevel, 0, kMaxFirstMipLevel);
  mipLevelCount = std::clamp(mipLevelCount, 0, kMaxMipLevels);
  MATERIALDESC* m = NewMaterial(ambient, diffuse, specular, emissive, power);
  LoadFrames(m, textureName, frameCount, [&](const char* name) {
    return LoadMipmapTexture(name, firstMipLevel, mipLevelCount, keyFlag, keyRed, keyGreen, keyBlue);
  });
  if (m->frameCount > 0) return Commit(m, "No more material available. (MAT01)");
  if (std::strlen(textureName) > kMaterialNameSize) plat::DebugOutput("Texture name too long ! (should be <= 24) \n");
  FreeMaterial(m);
  return CreateMaterial(ambient, diffuse, specular, emissive, power, textureName, frameCount, keyFlag, keyRed, keyGreen,
                        keyBlue);
}

HOBJECT CreateMaterialFromPixels(const float* ambient, const float* diffuse, const float* specular,
                                 const float* emissive, float power, int bitsPerPixel, const void* pixels,
                                 const uint8_t* palette, int width, int height, int keyFlag, int keyIndex, int keyRed,
                                 int keyGreen, int keyBlue) {
  if (!WorldReady()) return 0;
  if (g_useDirect3D ? (bitsPerPixel != 8 && bitsPerPixel != 16 && bitsPerPixel != 24) : bitsPerPixel != 8) return 0;
  MATERIALDESC* m = NewMaterial(ambient, diffuse, specular, emissive, power);
  SetName(m, "RAW_NONAME");
  const auto* bytes = static_cast<const uint8_t*>(pixels);
  TEXTUREDESC* t = nullptr;
  if (!g_useDirect3D)
    t = CreateSoftTexture(bytes, palette, width, height, keyFlag, keyIndex, keyRed, keyGreen, keyBlue);
  else if (bitsPerPixel == 8)
    t = CreateTexture8(bytes, palette, width, height, keyFlag, keyIndex, keyRed, keyGreen, keyBlue);
  else if (bitsPerPixel == 16)
    t = CreateTexture16(static_cast<const uint16_t*>(pixels), width, height, keyFlag, keyIndex, keyRed, keyGreen,
                        keyBlue);
  else t = CreateTexture24(bytes, width, height, keyFlag, keyIndex, keyRed, keyGreen, keyBlue);
  if (!g_engineOpen) {  // a full texture table closed the engine
    FreeMaterial(m);
    return 0;
  }
  m->firstFrame = m->currentFrame = t;
  m->frameCount = t ? 1 : 0;
  return Commit(m, "No more material available. (MAT01)");
}

HOBJECT CopyMaterial(HOBJECT handle) {
  if (!WorldReady()) return 0;
  const MATERIALDESC* source = LookupMaterial(handle);
  if (!source) return static_cast<HOBJECT>(-1);
  MATERIALDESC* m = NewMaterial(source->ambient, source->diffuse, source->specular, source->emissive, source->power);
  std::memcpy(m->textureName, source->textureName, sizeof m->textureName);
  m->frameCount = source->frameCount;
  m->firstFrame = m->currentFrame = source->firstFrame;
  TEXTUREDESC* frame = m->firstFrame;
  for (int i = 0; i < m->frameCount && frame; ++i, frame = frame->next) ++frame->refCount;
  return Commit(m, "No more material available. (MAT03)");
}

void SetMaterialColors(HOBJECT handle, const float* ambient, const float* diffuse, const float* specular,
                       const float* emissive) {
  if (!WorldReady()) return;
  MATERIALDESC* m = LookupMaterial(handle);
  if (!m) return;
  if (ambient) CopyColor(m->ambient, ambient);
  if (diffuse) CopyColor(m->diffuse, diffuse);
  if (specular) CopyColor(m->specular, specular);
  if (emissive) CopyColor(m->emissive, emissive);
  UpdateDeviceMaterial(m);
}

void GetMaterialColors(HOBJECT handle, float* ambient, float* diffuse, float* specular, float* emissive, char* name) {
  if (!WorldReady()) return;
  const MATERIALDESC* m = LookupMaterial(handle);
  if (!m) return;
  if (ambient) std::copy(m->ambient, m->ambient + 3, ambient);
  if (diffuse) std::copy(m->diffuse, m->diffuse + 3, diffuse);
  if (specular) std::copy(m->specular, m->specular + 3, specular);
  if (emissive) std::copy(m->emissive, m->emissive + 3, emissive);
  if (name) std::memcpy(name, m->textureName, sizeof m->textureName);
}

int AdvanceMaterialFrame(HOBJECT handle, int count, int mode) {
  if (!WorldReady()) return 0;
  MATERIALDESC* m = LookupMaterial(handle);
  if (!m) return 0;
  if (count == 0) {
    m->currentFrame = m->firstFrame;
    return 1;
  }
  if (mode == 1) {
    StepFrames(m, count);
    if (!m->currentFrame) m->currentFrame = m->firstFrame;
  } else if (mode == 0) {
    StepFrames(m, count);
  }
  return m->currentFrame ? 1 : 0;
}

namespace {

// Frees a material whoever holds it. Frames that only this material holds
// and that follow a shared frame are first taken out of every chain that
// runs through them.
void Destroy(MATERIALDESC* m) {
  TEXTUREDESC* lastShared = nullptr;
  TEXTUREDESC* frame = m->firstFrame;
  for (int i = 0; i < m->frameCount && frame; ++i) {
    TEXTUREDESC* next = frame->next;
    if (frame->refCount > 1) {
      lastShared = frame;
    } else if (frame->refCount == 1 && lastShared) {
      lastShared->next = frame->next;
      UnlinkFromOthers(m, frame);
    }
    ReleaseTexture(frame);
    frame = next;
  }
  m->firstFrame = m->currentFrame = nullptr;
  m->frameCount = 0;
  g_materialPool.Free(static_cast<uint32_t>(m->index));
  FreeMaterial(m);
}

}  // namespace

void DestroyMaterial(HOBJECT handle) {
  if (!g_engineOpen || handle == static_cast<HOBJECT>(-1)) return;
  MATERIALDESC* m = LookupMaterial(handle);
  if (!m) return;
  ForgetInMeshes(m->index);
  Destroy(m);
}

void RetainMaterial(HOBJECT handle) {
  if (MATERIALDESC* m = LookupMaterial(handle)) ++m->refCount;
}

void ReleaseMaterial(HOBJECT handle) {
  // The last holder is the mesh letting go, so no other mesh holds it.
  MATERIALDESC* m = LookupMaterial(handle);
  if (g_engineOpen && m && --m->refCount <= 0) Destroy(m);
}
