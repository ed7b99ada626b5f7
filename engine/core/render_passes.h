#pragma once
#include <cstdint>

#include "engine/core/math3d.h"
#include "engine/core/render_services.h"

namespace plat {
class Device3D;
}

struct LODGROUPDESC;
struct COMPOSITEDESC;
struct MATERIALDESC;

// The device-facing steps of a Direct3D frame: light slots, the level-of-
// detail choice, the frame set-up, the current material and the per-node
// render states. Every device state goes through a cache and is sent only
// when it changes.

// Material indices that select the world's default material.
constexpr int kDefaultMaterialIndex = -1;
constexpr int kOverlayMaterialIndex = -2;

struct CURRENTMATERIALSTATE {
  int index = kDefaultMaterialIndex;
  float alpha = 1.0f;
  int alphaByte = 255;
  // The packed diffuse colour (0xAARRGGBB) of the material last applied:
  // the colour of line and point vertices.
  uint32_t lineColor = 0xFFFFFFFFu;
};
extern CURRENTMATERIALSTATE g_currentMaterial;

// The first free device light slot (now in use), or -1.
int AllocLightSlot();
// Shows the member for the owner's view-space distance: the first member
// whose squared distance is exceeded, else the owner.
void SelectLodMember(LODGROUPDESC* group, const MATRIX44& view);
void SelectCompositeLod(COMPOSITEDESC* composite, const MATRIX44& view);
// Current material -1 at full alpha, applied untextured; every texture one
// frame older; every node's worldValid flag cleared.
void BeginDeviceFrame();
// Sends the current material (the default one when the index names none)
// and its texture, unless drawMode is 1 (untextured).
void ApplyMaterial(plat::Device3D& device, int drawMode);
// The material record ApplyMaterial uses for an index.
MATERIALDESC* MaterialForIndex(int index);
void ApplyNodeRenderStates(plat::Device3D& device, VIEWPORTDESC* viewport, const NODEDESC* node);

// Cached setters.
void SetCachedSourceBlend(plat::Device3D& device, uint32_t value);
void SetCachedDestBlend(plat::Device3D& device, uint32_t value);
void SetCachedShadeMode(plat::Device3D& device, uint32_t value);
void SetCachedStageAddress(plat::Device3D& device, int stage, uint32_t value);
// The source and destination blend last sent.
uint32_t CachedSourceBlend();
uint32_t CachedDestBlend();
// Forgets what was sent (a new device starts from its own defaults).
void ResetRenderStateCache();
