#pragma once
// The one live field map: the loaded scene file and its content, bound to
// its row of the game resource's map table, with the field camera, the
// automap panel, a fade plane, portal and destination markers, the memory of
// keyframed-object states (kept across scene changes) and the light
// components. Cut-scenes reach it only as an SSceneManager.
//
// Calling order: construct (which loads) -> CreateLights once the scene
// society exists -> per frame UpdateCamera and Tick. Another scene: Unload ->
// Load -> Show.
#include <memory>
#include <string>
#include <vector>

#include "engine/core/handles.h"
#include "engine/core/math3d.h"
#include "world/scene_manager.h"

class CAutomapPanel;
class CFadePlane;
class CGameCamera;
class CGameResource;
class CGCBLight;
class CLocateMarker;
class CObjectStateMemory;
class CPortalSet;
class CSceneContent;
class CSceneData;
struct MAPDESC;

class MScene : public SSceneManager {
 public:
  static constexpr float kCullingDistance = 1000;
  // People farther than about 748 units are culled whatever the distance.
  static constexpr float kPeopleLimitSquared = 560000;
  static constexpr int kFadeFrames = 30;
  static constexpr int kMaxSceneName = 63;
  static constexpr int kMaxMapName = 15;

  MScene(const char* sceneFile, const CGameResource* resource);
  ~MScene() override;
  MScene(const MScene&) = delete;
  MScene& operator=(const MScene&) = delete;

  // SSceneManager.
  void Animate(int frames) override;
  HOBJECT GetLightNode(int i) override;
  int GetLightKind(int i) override;
  int GetLightCount() override;
  HOBJECT GetTerrain() override;
  HOBJECT GetTerrainNode() override;

  void Load(const char* sceneFile);
  // Binds the loaded scene to its map record, scales the sky, restores the
  // remembered object states and applies the object links.
  void EnterMap();
  // remember non-zero keeps the keyframed objects' states, zero forgets the
  // whole memory. Nothing without a loaded scene.
  void Unload(int remember);
  void Tick(int n);
  // The first three arguments are not used; cull also culls by distance and
  // moves the weather with the camera.
  void UpdateCamera(const VECTOR3* walkerPosition, const VECTOR3* walkerDirection, int value, int cull);
  // The eye is the engine's current camera (non-zero) or the game camera.
  void CullByDistance(int useCurrentCamera);
  void Show(int visible, int fade);
  void StartFade(int direction, int hold);
  // 1 with the destination when the point lies in an open portal (the first
  // in file order), else 0.
  int FindPortalAt(const VECTOR3& point, std::string* name, int* destinationPoint) const;
  // 1-based map index of a scene name, 0 when none; with a null name the
  // current scene's, or -1 when the scene is already bound.
  int FindMapIndex(const char* name) const;
  // The default start position, followed by the extra start data.
  const VECTOR3* GetStartPosition() const;
  void SetPortalOpen(int i, int open);
  void UpdateAutomapPortals(int i);
  void ApplyObjectLinks();
  void CreateLights();
  void RemoveLights();
  void AttachCamera(HOBJECT target, HOBJECT terrain, HOBJECT viewport);
  void ScaleSkyModels();
  // A fade plane exists that has not reached its end.
  bool IsFading() const;

  const CGameResource* gameResource;
  float skyScale = 1;
  float cullingDistance = kCullingDistance;  // the game core's detail distance
  int automapReady = 0;
  std::unique_ptr<CSceneData> data;
  int mapIndex = 0;
  std::unique_ptr<CSceneContent> content;
  CGameCamera* camera = nullptr;  // owned
  int shadowDetail = 1;
  CAutomapPanel* automap = nullptr;  // owned
  const MAPDESC* mapRecord = nullptr;
  std::unique_ptr<CFadePlane> fade;
  std::unique_ptr<CPortalSet> portals;
  std::unique_ptr<CLocateMarker> locate;
  std::unique_ptr<CObjectStateMemory> memory;
  std::vector<CGCBLight*> lights;  // owned
  // 1 from a fade start until its plane reaches its end or goes; a game over
  // waits while it is set.
  int fadeActive = 0;
  std::string sceneName;

 private:
  void StepFade();
};
