#include "engine/media/texture_table.h"

// MINIMAL: the texture table is not built yet; it never holds a texture.
void ResetTextureTable() {}
