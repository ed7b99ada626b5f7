#pragma once
// A scene's ambient light, fog and weather, read per scene from the shared
// file "environment.dat" at the world's root.
#include <cstdint>
#include <memory>
#include <string>

class CParticleField;
class CQRain;
class CAJFlare;

enum ENVEFFECT : int {
  ENV_FOG = 0x1,
  ENV_RAIN = 0x2,
  ENV_PARTICLES = 0x4,
  ENV_FLARE = 0x8,
};

class CSceneEnvironment {
 public:
  static constexpr uint8_t kDefaultAmbient = 110;
  static constexpr int kDefaultParticles = 500;

  // Creates the weather, reads the scene's record and applies it.
  explicit CSceneEnvironment(const char* sceneName, const char* fileName = "environment.dat");
  ~CSceneEnvironment();
  CSceneEnvironment(const CSceneEnvironment&) = delete;
  CSceneEnvironment& operator=(const CSceneEnvironment&) = delete;

  // Deletes rain, particle field and flare, in that order.
  void Release();

  // Switches each of the four effects by its bit of the mask.
  void SetEffectFlags(int mask);
  void EnableEffect(int bit, int on);
  bool IsEffectOn(int bits) const { return (effectFlags & bits) != 0; }
  int GetEffectFlags() const { return effectFlags; }

  void SetAmbient(uint8_t r, uint8_t g, uint8_t b);
  // The engine hears of fog only on the device path; it is stored on both.
  void SetFog(uint8_t density, uint8_t r, uint8_t g, uint8_t b, float start, float end);
  // Re-applies the stored state after another screen changed the engine's.
  void Apply();
  void ApplyFog();

  CParticleField* ParticleField() const { return particleField_.get(); }
  CQRain* Rain() const { return rain_.get(); }
  CAJFlare* Flare() const { return flare_.get(); }

  uint8_t ambient[3] = {kDefaultAmbient, kDefaultAmbient, kDefaultAmbient};
  int effectFlags = 0;
  uint8_t fogDensity = 0;
  uint8_t fogColor[3] = {};
  float fogStart = 0;
  float fogEnd = 0;

 private:
  void Load(const std::string& sceneName, const char* fileName);

  std::unique_ptr<CParticleField> particleField_;
  std::unique_ptr<CQRain> rain_;
  std::unique_ptr<CAJFlare> flare_;
};
