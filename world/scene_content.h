#pragma once

struct VECTOR3;

// The content of a scene: objects, characters, occluders and weather.
// MINIMAL: no content is loaded; fading, weather and camera following do nothing.
class CSceneContent {
 public:
  void FadeOccluders(const VECTOR3&, const VECTOR3&) {}
  void TickWeather(int, const VECTOR3&) {}
  void FollowCamera(const VECTOR3&, const VECTOR3&) {}
};
