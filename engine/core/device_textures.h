#pragma once

struct TEXTUREDESC;

// Card copies of the textures of the Direct3D path: uploaded when a material
// draws with them, evicted by frame age when card memory runs out.
//
// Ages: a texture is stale at 255 frames without being drawn and idle at 128.

// Creates and fills the card copy (a black render target for render-target
// textures), evicting once and retrying when card memory is full. 1 on
// success; 0 (null texture too) otherwise.
int UploadTexture(TEXTUREDESC* texture);
// Evicts card copies, never except's nor a texture without one: a single
// stale texture at least the requested size when there is one, else idle
// textures until their area exceeds the request (4/3 of it for mip maps).
void FreeTextureMemory(int width, int height, const TEXTUREDESC* except);
// Direct3D path: drops the card copy and/or the system-memory texture.
// Software path: frees the shade table and the pixels. Null: nothing.
void ReleaseTextureDevice(TEXTUREDESC* texture, int deviceCopy, int systemCopy);
void FreeSoftTexture(TEXTUREDESC* texture);
