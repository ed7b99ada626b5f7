#pragma once
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cutscene/actor.h"
#include "cutscene/actor_track_set.h"
#include "engine/core/handles.h"

class CGCBLight;
class SScriptStream;
class SSceneManager;
class SViewPort;

// One loaded cut-scene: its actors, one track set per actor, the camera nodes
// made for its camera actors and the light components made from the scene's
// lights. Actors and track sets are kept by ACTORTYPE, then creation order;
// viewports by number.
class CCutScene {
 public:
  // suffix (null: none): its first character is appended to sprite image names.
  CCutScene(int width, int height, const char* suffix);
  ~CCutScene();
  CCutScene(const CCutScene&) = delete;
  CCutScene& operator=(const CCutScene&) = delete;

  // Empties the play; the light components stay.
  void Clear();
  // Reads directory + "\" + name + ".spb" (binary 1) or ".sp" (0): 0 loaded,
  // -1 opened but not readable (what was built so far stays), -2 not opened.
  int Load(const std::string& name, const std::string& directory, int binary);
  // Gives the creature actors the scene's terrain and society and rebuilds the
  // lights (a scene), or takes them off (null); 0.
  int AttachScene(SSceneManager* scene);
  // One frame: 1 when a dialogue held the play before this tick, else -1 once
  // the final frame is below the current frame, else 0.
  int Tick();
  void Reset();
  // Renders each viewport actor's engine viewport, in viewport-number order,
  // clearing depth but not colour.
  void RenderViewports();
  // The first dialogue actor's answer; -1 without one.
  int GetAnswer();
  // The first actor of that type, in creation order, named exactly so.
  SActor* FindActor(int type, std::string_view name) const;

  // Actor creation: the new actor's track set, null on failure. With
  // generateName the actor is named base_n, the first n no actor of its type
  // bears (base: the file, or "music", "fade", "camera", "viewport").
  SActorTrackSet* CreateDialog(const std::string& file, int generateName);
  SActorTrackSet* CreateCreature(const std::string& file, int generateName);
  // The camera node goes to cameraNode when given; the play destroys it.
  SActorTrackSet* CreateCamera(float aspect, float lens, float aperture, float nearPlane, float farPlane,
                               HOBJECT* cameraNode, int generateName);
  SActorTrackSet* CreateMusic(int generateName);
  // Fractions of the screen; fails for a viewport number already taken.
  SActorTrackSet* CreateViewport(float x, float y, float width, float height, int number, int generateName);
  SActorTrackSet* CreateWave(const std::string& file, int generateName);
  SActorTrackSet* CreateBoard(const std::string& file, int frames, int width, int height, int generateName);
  SActorTrackSet* CreateFade(int generateName);
  // Made hidden.
  SActorTrackSet* CreateSprite(const std::string& file, int frames, int columns, int rows, int generateName);
  // Shows the viewport through the first camera actor of that name; -1 when none.
  int BindViewportCamera(SViewPort* viewport, std::string_view cameraName);

  int FinalFrame() const { return finalFrame_; }
  int CurrentFrame() const { return currentFrame_; }
  int IsPaused() const { return paused_; }
  const std::multimap<int, std::unique_ptr<SActor>>& Actors() const { return actors_; }
  const std::multimap<int, std::unique_ptr<SActorTrackSet>>& TrackSets() const { return trackSets_; }
  const std::map<int, SViewPort*>& Viewports() const { return viewports_; }
  const std::vector<HOBJECT>& CameraNodes() const { return cameraNodes_; }
  const std::vector<std::unique_ptr<CGCBLight>>& Lights() const { return lights_; }

  std::string creatureDirectory;
  std::string waveDirectory;
  std::string textureDirectory;  // board textures; creature textures too
  std::string dialogDirectory;
  std::string spriteDirectory;

 private:
  // Names, stores and gives a track set to a new actor.
  SActorTrackSet* AddActor(std::unique_ptr<SActor> actor, int generateName, const std::string& nameBase);
  void DestroyCameraNodes();
  void RebuildLights();

  int ReadBinary(SScriptStream& in);
  int ReadText(SScriptStream& in);
  int ReadPlayer(SScriptStream& in, int binary);
  SActorTrackSet* ReadPlayerHeader(SScriptStream& in, int binary);
  SActorTrackSet* ReadBinaryPlayerHeader(SScriptStream& in, std::string& name);
  SActorTrackSet* ReadTextPlayerHeader(SScriptStream& in, std::string& name);
  // 0 and the key, 1 at the end of a text player, -1 on failure.
  int ReadKey(SScriptStream& in, int binary, std::unique_ptr<SKey>& key);

  int finalFrame_ = 0;
  int paused_ = 0;
  int width_;
  int height_;
  std::string suffix_;
  std::vector<HOBJECT> cameraNodes_;
  std::map<int, SViewPort*> viewports_;
  std::multimap<int, std::unique_ptr<SActor>> actors_;
  std::multimap<int, std::unique_ptr<SActorTrackSet>> trackSets_;
  int currentFrame_ = 0;
  SSceneManager* scene_ = nullptr;
  std::vector<std::unique_ptr<CGCBLight>> lights_;
};
