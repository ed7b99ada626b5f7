#pragma once
#include <array>
#include <cstdint>
#include <memory>

#include "platform/device3d.h"

struct MATERIALDESC;

// The device part of a material.

// Direct3D path: the device material, its description and packed colour.
struct DEVICEMATERIALDESC {
  uint32_t packedDiffuse = 0;  // 0xAARRGGBB
  int alpha = 255;             // the alpha byte the description was last built with
  plat::MaterialParams description;
  std::unique_ptr<plat::Material3D> material;
};

// Software path: the largest component of three colours and the diffuse
// colour in 256 brightness steps as screen pixels.
struct SOFTMATERIALDESC {
  float ambientMax = 0;
  float diffuseMax = 0;
  float specularMax = 0;
  std::array<uint16_t, 256> ramp{};
  uint32_t packedDiffuse = 0;  // screen pixel of the diffuse colour
};

// Build the device part of the current path; false when the device
// material cannot be made.
bool CreateDeviceMaterial(MATERIALDESC* material);
void CreateSoftwareMaterial(MATERIALDESC* material);
void ReleaseDeviceMaterial(MATERIALDESC* material);
void FreeSoftMaterial(MATERIALDESC* material);
