#include "world/game_camera.h"

#include <cmath>
#include <numbers>

#include "engine/core/cameras.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/viewports.h"

CGameCamera::~CGameCamera() {
  if (node) DestroyNode(node);
}

void CGameCamera::Activate() {
  if (node) SetViewportCamera(viewport, node);
}

void CGameCamera::SetProjection(float fieldOfView, float aspect, float nearPlane, float farPlane) {
  if (node) DestroyNode(node);
  const double half = fieldOfView * std::numbers::pi / 360.0;
  node = CreateCameraNode(0, aspect, static_cast<float>(10.922 / std::tan(half)), 0.86f, nearPlane, farPlane);
  SetViewportCamera(0, node);
}

void CGameCamera::GetPositionAndDirection(VECTOR3* position, VECTOR3* direction) const {
  MATRIX34 m;
  SetIdentityMatrix34(&m);
  if (node) GetNodeMatrix(node, &m, 0);
  if (position) *position = m.row[3];
  if (direction) *direction = {-m.row[2].x, -m.row[2].y, -m.row[2].z};
}
