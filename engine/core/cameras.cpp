#include "engine/core/cameras.h"

#include <cmath>

#include "engine/core/device_setup.h"
#include "engine/core/nodes.h"

namespace {

CAMERADESC* CameraData(HOBJECT handle) {
  NODEDESC* node = LookupNodeOfKind(handle, NODE_CAMERA);
  return node ? static_cast<CAMERADESC*>(node->kindData) : nullptr;
}

void BuildPerspective(CAMERADESC* c) {
  BuildPerspectiveMatrix(&c->projectionMatrix, c->aspect, c->lens, c->aperture, c->nearPlane, c->farPlane,
                         c->windowLeft, c->windowBottom, c->windowWidth, c->windowHeight);
}

void SetPlane(FRUSTUMPLANE* plane, float offset, VECTOR3 normal) {
  NormalizeVector3(&normal);
  plane->offset = offset;
  plane->normal = normal;
}

}  // namespace

void BuildCameraProjection(CAMERADESC* c) {
  if (c->projection == 1) BuildPerspective(c);
  else BuildOrthographicMatrix(&c->projectionMatrix, c->aspect, c->nearPlane, c->farPlane, c->viewWidth);
}

void UpdateCameraFrustum(CAMERADESC* c) {
  if (!c) return;
  c->frustum[0] = {c->nearPlane, {0, 0, -1}};
  c->frustum[1] = {-c->farPlane, {0, 0, 1}};
  if (c->projection == 1) {
    float h = c->nearPlane * c->aperture * 12.7f / c->lens;
    float w = h / c->aspect;
    float left = h * c->windowLeft;
    float right = h * (c->windowLeft + c->windowWidth);
    float bottom = w * c->windowBottom;
    float top = w * (c->windowBottom + c->windowHeight);
    float n = c->nearPlane;
    SetPlane(&c->frustum[2], 0, {0, -n, -top});
    SetPlane(&c->frustum[3], 0, {0, n, bottom});
    SetPlane(&c->frustum[4], 0, {n, 0, left});
    SetPlane(&c->frustum[5], 0, {-n, 0, -right});
  } else {
    // The view is bounded to x within +-0.5 and y within +-0.5 / aspect,
    // whatever its width.
    c->frustum[2] = {-0.5f / c->aspect, {0, -1, 0}};
    c->frustum[3] = {-0.5f / c->aspect, {0, 1, 0}};
    c->frustum[4] = {-0.5f, {1, 0, 0}};
    c->frustum[5] = {-0.5f, {-1, 0, 0}};
  }
}

HOBJECT CreateCameraNode(HOBJECT parent, float aspect, float lens, float aperture, float nearPlane, float farPlane) {
  if (g_nodeUnderConstruction) return 0;
  BeginNode(NODE_CAMERA);
  if (!g_nodeUnderConstruction) return 0;
  SetCameraProjection(0, 1);
  SetCameraLens(0, aspect, lens, aperture);
  SetCameraClipPlanes(0, nearPlane, farPlane);
  return EndNode(parent);
}

void SetCameraProjection(HOBJECT handle, int projection) {
  CAMERADESC* c = CameraData(handle);
  if (!c) return;
  c->projection = projection;
  BuildCameraProjection(c);
  UpdateCameraFrustum(c);
}

void SetCameraLens(HOBJECT handle, float aspect, float lens, float aperture) {
  CAMERADESC* c = CameraData(handle);
  if (!c) return;
  c->aspect = aspect;
  c->lens = lens;
  c->aperture = aperture;
  c->fieldOfView = std::atan2(aperture / (lens * 0.03937008f) * 0.5f, 1.0f) * kRadiansToTwiceDegrees;
  BuildPerspective(c);
  UpdateCameraFrustum(c);
}

void SetCameraFieldOfView(HOBJECT handle, float aspect, float degrees) {
  CAMERADESC* c = CameraData(handle);
  if (!c) return;
  c->aspect = aspect;
  c->fieldOfView = degrees;
  // 10.922 is half of 0.86 inch in millimetres.
  c->lens = 10.922f / std::tan(degrees * kDegreesToHalfRadians);
  c->aperture = 0.86f;
  BuildPerspective(c);
  UpdateCameraFrustum(c);
}

void SetCameraClipPlanes(HOBJECT handle, float nearPlane, float farPlane) {
  CAMERADESC* c = CameraData(handle);
  if (!c) return;
  if (!g_useDirect3D && nearPlane <= 1.0f) nearPlane = 1.0f;
  c->nearPlane = nearPlane;
  c->farPlane = farPlane;
  BuildCameraProjection(c);
  UpdateCameraFrustum(c);
}
