#pragma once
#include "platform/files.h"

struct TEXTUREDESC;
struct LIGHTMAPSETDESC;

// Light-map sets (".qmp"), little-endian:
//   "QMP" and a zero byte (any case); version bytes 1, 0; uint32 map count;
//   uint32 bits, 8; per map: uint32 side s, then s rows of s pixels blue,
//   green, red, the first stored row becoming texture row 0.
// Direct3D path only.

// Loads every map of the file into the set (".QMP" is added to a name
// without extension; found like a texture file). Each map is a texture with
// reference count 1 named by the file's base name. 1 on success; 0 on the
// software path, for a missing or damaged file, or a full texture table,
// leaving the set empty and releasing any map already read.
int LoadLightMap(const char* name, LIGHTMAPSETDESC* set);

// One map at the reader's position into a new system-memory texture of the
// record. 1 on success, 0 on failure.
int ReadLightMapEntry(plat::ByteReader& file, TEXTUREDESC* texture);
