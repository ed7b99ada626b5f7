#include "engine/media/texture_table.h"

#include <cstring>
#include <string>

#include "engine/core/device_textures.h"
#include "engine/media/name_index.h"
#include "engine/media/path_text.h"

TEXTUREDESC* g_textureTable[kTextureTableSize] = {};
int g_textureCount = 0;

namespace {

NameIndex g_textureNames;  // by upper-case name

std::string NameKey(const char* name) {
  std::string key = name;
  for (char& c : key)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return key;
}

bool InTable(const TEXTUREDESC* texture) {
  return texture->slot >= 0 && texture->slot < kTextureTableSize && g_textureTable[texture->slot] == texture;
}

}  // namespace

int EnterTexture(TEXTUREDESC* texture) {
  int slot = 0;
  while (slot < g_textureCount && g_textureTable[slot]) ++slot;
  if (slot == g_textureCount) {
    if (g_textureCount >= kTextureTableSize) return -1;
    ++g_textureCount;
  }
  g_textureTable[slot] = texture;
  texture->slot = slot;
  texture->refCount = 1;
  if (texture->name[0]) g_textureNames.Add(NameKey(texture->name), slot);
  return slot;
}

void SetTextureName(TEXTUREDESC* texture, const char* name) {
  const bool entered = InTable(texture);
  if (entered && texture->name[0]) g_textureNames.Remove(NameKey(texture->name), texture->slot);
  std::memset(texture->name, 0, sizeof texture->name);
  if (name) std::strncpy(texture->name, name, sizeof texture->name - 1);
  if (entered && texture->name[0]) g_textureNames.Add(NameKey(texture->name), texture->slot);
}

TEXTUREDESC* FindTexture(const char* name) {
  if (!name || std::strlen(name) >= 128) return nullptr;
  for (int slot : g_textureNames.Slots(NameKey(name))) {
    TEXTUREDESC* t = g_textureTable[slot];
    if (t && t->name[0] && MatchText(t->name, name, 1)) return t;
  }
  return nullptr;
}

void ReleaseTexture(TEXTUREDESC* texture) {
  if (!texture || texture->refCount <= 0) return;
  if (--texture->refCount > 0) return;
  if (InTable(texture)) {
    if (texture->name[0]) g_textureNames.Remove(NameKey(texture->name), texture->slot);
    g_textureTable[texture->slot] = nullptr;
  }
  ReleaseTextureDevice(texture, 1, 1);
  delete texture;
}

void AgeTextures() {
  for (int slot = 0; slot < g_textureCount; ++slot)
    if (TEXTUREDESC* t = g_textureTable[slot]; t && t->age < kMaxTextureAge) ++t->age;
}

void ResetTextureTable() {
  for (int slot = 0; slot < g_textureCount; ++slot) {
    delete g_textureTable[slot];
    g_textureTable[slot] = nullptr;
  }
  g_textureCount = 0;
  g_textureNames.Clear();
}
