#pragma once

// Failure injection for the display, 3D, window, joystick and sound stand-ins
// and for file writes. The real services never fail on their own in the ways
// the engine handles (a memory surface can always be made), so tests switch a
// step's failure on here to reach the engine's error roads.
namespace plat {

enum class FailPoint {
  CreateWindow,
  OpenDisplayDevice,
  NormalCooperativeLevel,
  ExclusiveCooperativeLevel,
  SetDisplayMode,
  CreatePrimarySurface,
  CreateOffscreenSurface,
  Open3D,
  CreateDepthSurface,
  AttachDepthSurface,
  CreateDevice3D,
  CreateViewport3D,
  AddViewport3D,
  CreateJoystickInput,
  SetJoystickAxisRange,
  OpenSoundOutput,
  DuplicateSoundBuffer,
  // plat::File::Write of a file opened for writing.
  WriteFile,
  Count
};

// The step fails from its (succeedFirst + 1)th call on, failTimes times
// (-1: until cleared).
void SetFailPoint(FailPoint point, int succeedFirst = 0, int failTimes = -1);
void ClearFailPoint(FailPoint point);
void ClearFailPoints();
// Called by the stand-ins at each step: true when the step must fail.
bool ShouldFail(FailPoint point);

}  // namespace plat
