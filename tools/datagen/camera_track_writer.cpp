#include "tools/datagen/camera_track_writer.h"

#include <cstdio>

#include "tools/datagen/output_file.h"

namespace datagen {
namespace {

std::string Number(float v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", static_cast<double>(v));
  return text;
}

std::string Header(const char* keyword, const CameraTrackRange& range, size_t count) {
  return std::string(keyword) + " " + std::to_string(range.first) + " " + std::to_string(range.last) + " " +
         std::to_string(count) + "\n";
}

void PointKeys(std::string& out, const char* keyword, const CameraTrackRange& range,
               const std::vector<CameraPointKey>& keys) {
  if (keys.empty()) return;
  out += Header(keyword, range, keys.size());
  for (const CameraPointKey& k : keys)
    out += std::to_string(k.frame) + " " + Number(k.x) + " " + Number(k.y) + " " + Number(k.z) + "\n";
}

void ValueKeys(std::string& out, const char* keyword, const CameraTrackRange& range,
               const std::vector<CameraValueKey>& keys) {
  if (keys.empty()) return;
  out += Header(keyword, range, keys.size());
  for (const CameraValueKey& k : keys) out += std::to_string(k.frame) + " " + Number(k.value) + "\n";
}

void Parent(std::string& out, const char* keyword, const CameraParentData& parent) {
  if (!parent.present) return;
  out += std::string(keyword) + " " + Number(parent.offset[0]) + " " + Number(parent.offset[1]) + " " +
         Number(parent.offset[2]) + "\n";
  PointKeys(out, "KeyPos", parent.positionRange, parent.positionKeys);
  if (parent.rotationKeys.empty()) return;
  out += Header("KeyRoll", parent.rotationRange, parent.rotationKeys.size());
  for (const CameraRotationKey& k : parent.rotationKeys)
    out += std::to_string(k.frame) + " " + Number(k.x) + " " + Number(k.y) + " " + Number(k.z) + " " + Number(k.angle) +
           "\n";
}

}  // namespace

std::string BuildCameraTrackFile(const std::vector<CameraTrackData>& cameras, int count) {
  std::string out = "# camera tracks\n";
  out += "TotalCamera " + std::to_string(count < 0 ? cameras.size() : static_cast<size_t>(count)) + "\n";
  for (const CameraTrackData& c : cameras) {
    out += "\nBeginCamera " + c.name + "\n";
    out += Number(c.position[0]) + " " + Number(c.position[1]) + " " + Number(c.position[2]) + "\n";
    out += Number(c.target[0]) + " " + Number(c.target[1]) + " " + Number(c.target[2]) + "\n";
    out += Number(c.fieldOfView) + " " + Number(c.roll) + " " + Number(c.extra[0]) + " " + Number(c.extra[1]) + "\n";
    PointKeys(out, "KeyPos", c.positionRange, c.positionKeys);
    ValueKeys(out, "KeyFov", c.fieldOfViewRange, c.fieldOfViewKeys);
    ValueKeys(out, "KeyRoll", c.rollRange, c.rollKeys);
    PointKeys(out, "KeyTarget", c.targetRange, c.targetKeys);
    Parent(out, "CameraParent", c.cameraParent);
    Parent(out, "TargetParent", c.targetParent);
    out += "EndCamera " + std::to_string(c.endValues[0]) + " " + std::to_string(c.endValues[1]) + "\n";
  }
  return out;
}

bool WriteCameraTrackFile(const std::string& path, const std::vector<CameraTrackData>& cameras, std::string& error) {
  const std::string text = BuildCameraTrackFile(cameras);
  return WriteOutputFile(path, std::vector<uint8_t>(text.begin(), text.end()), error);
}

}  // namespace datagen
