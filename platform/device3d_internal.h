#pragma once
#include "platform/device3d.h"

// Shared by the implementation files of the 3D device.
namespace plat {

Live3DObjects& Live3D();

}  // namespace plat
