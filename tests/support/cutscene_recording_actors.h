#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cutscene/actor_factory.h"
#include "cutscene/board_actor.h"
#include "cutscene/camera_actor.h"
#include "cutscene/creature_actor.h"
#include "cutscene/dialog_actor.h"
#include "cutscene/fade_actor.h"
#include "cutscene/music_actor.h"
#include "cutscene/sprite_actor.h"
#include "cutscene/viewport_actor.h"
#include "cutscene/wave_actor.h"
#include "engine/core/node_transforms.h"

// Test actors of every kind that write each call they get into one shared
// log as "name:Call(args)", and the factory that makes them.
namespace cstest {

class CallLog {
 public:
  void Add(const std::string& line) { lines_.push_back(line); }
  const std::vector<std::string>& Lines() const { return lines_; }
  // The lines containing fragment, in order.
  std::vector<std::string> With(const std::string& fragment) const;
  int Count(const std::string& fragment) const { return static_cast<int>(With(fragment).size()); }
  void Clear() { lines_.clear(); }

 private:
  std::vector<std::string> lines_;
};

// The log every recording actor writes into.
CallLog& Log();

// Records the calls of one actor under its name.
class Recorder {
 public:
  explicit Recorder(const SActor* self) : self_(self) {}
  void Note(const std::string& call) const { Log().Add(std::string(self_->GetName()) + ":" + call); }

 private:
  const SActor* self_;
};

std::string Args(std::initializer_list<double> values);

template <class Base>
class RecordingVisual : public Base {
 public:
  void Reset() override { rec_.Note("Reset()"); }
  int Update(int frames) override {
    rec_.Note("Update(" + std::to_string(frames) + ")");
    return 0;
  }
  void SetVisible(int flag) override { rec_.Note("SetVisible(" + std::to_string(flag) + ")"); }
  HOBJECT SetPosition(float x, float y, float z, int mode) override {
    rec_.Note("SetPosition" + Args({x, y, z, static_cast<double>(mode)}));
    if (node) SetNodePosition(node, x, y, z, mode);
    return node;
  }
  void Rotate(int axis, float degrees, int mode) override {
    rec_.Note("Rotate" + Args({static_cast<double>(axis), degrees, static_cast<double>(mode)}));
    if (node) RotateNode(node, axis, degrees, mode);
  }
  // With a node the transform calls act on it as the game's actors do.
  void GetTransform(VECTOR3* position, VECTOR3* forward, VECTOR3* up) override {
    if (node) GetNodeWorldVectors(node, position, forward, up);
  }
  void SetTransform(const VECTOR3* position, const VECTOR3* forward, const VECTOR3* up) override {
    if (node) SetNodeDirection(node, position, forward, up);
  }
  void SetPositionXYZ(float x, float y, float z) override {
    rec_.Note("SetPositionXYZ" + Args({x, y, z}));
    if (!node) return;
    MATRIX34 m;
    GetNodeMatrix(node, &m, 1);
    m.row[3] = {x, y, z};
    SetNodeMatrix(node, &m, 0);
  }
  void GetMatrix(MATRIX34* matrix, int local) override {
    if (node) GetNodeMatrix(node, matrix, local);
  }
  void SetMatrix(const MATRIX34* matrix, int mode) override {
    if (node) SetNodeMatrix(node, matrix, mode);
  }
  void RotateByQuaternion(const QUATERNION* rotation, int mode) override {
    if (node) RotateNodeByQuaternion(node, rotation, mode);
  }
  int IsVisible() override { return 1; }
  void MoveTo(float, float, float) override {}
  void SetOpacity(float alpha) override {
    opacity = alpha;
    rec_.Note("SetOpacity" + Args({alpha}));
  }
  float GetOpacity() override { return opacity; }
  int SetDrawMode(int) override { return 0; }
  int SetRenderState(int state, int value) override {
    rec_.Note("SetRenderState(" + std::to_string(state) + "," + std::to_string(value) + ")");
    return 0;
  }
  int HitTest(HOBJECT, int, int) override { return 0; }
  SVisual* GetParent() override { return nullptr; }
  void SetParent(SVisual*) override {}
  HOBJECT GetNode() override { return node; }

  ~RecordingVisual() override { rec_.Note("~"); }

  HOBJECT node = 0;
  float opacity = 1;

 protected:
  Recorder rec_{this};
};

class RecCreature : public RecordingVisual<SCreature> {
 public:
  int SetTerrain(HOBJECT terrainNode, HOBJECT terrain, int a, int b) override;
  int PlaceOnTerrain(HOBJECT terrain, int a, int b) override;
  int DropOnTerrain(int a, int b) override;
  void SetTerrainFollow(int flag) override;
  void SetPaused(int flag) override;
  void SetPoseSpeed(int speed) override;
  int PlayPose(const POSEPLAYDESC& pose, const POSEPLAYDESC* followUp) override;
  int ShowShadow(int flag) override;
  HOBJECT FindPartNode(const char* name) override;

  std::map<std::string, HOBJECT> parts;  // "" is the root
  int landsOnTerrain = 1;
  int terrainFollow = -1;
};

class RecCamera : public RecordingVisual<STCamera> {
 public:
  float GetFieldOfView() override { return fieldOfView; }
  void SetFieldOfView(float degrees) override;
  void LockTarget(SVisual* target, int frames) override;
  void SetTargetOffset(float x, float y, float z) override;

  float fieldOfView = 30;
  const SVisual* target = nullptr;
  VECTOR3 targetOffset{};
};

class RecBoard : public RecordingVisual<SBoard> {
 public:
  void GetMaterialColor(int kind, float* r, float* g, float* b) override;
  void SetMaterialColor(int kind, float r, float g, float b) override;

  float emissive[3] = {};
};

class RecFade : public RecordingVisual<SFade> {
 public:
  void SetColor(int r, int g, int b) override { rec_.Note("SetColor" + Args({double(r), double(g), double(b)})); }
};

// Opens like a dialogue box on Talk and Ask and holds the play while open and
// no stop count runs; the test closes it and picks the answer.
class RecDialog : public SDialog {
 public:
  ~RecDialog() override { rec_.Note("~"); }
  void Reset() override;
  int Update(int frames) override;
  int Talk(const char* id, const char* substitute) override;
  int Ask(const char* id, const char* substitute) override;
  void SetStopCount(int n) override;
  void SetShowFrame(int flag) override;
  void SetTextColor(int r, int g, int b) override;
  void SetTextBackColor(int r, int g, int b) override;
  int SetLayoutParams(const int* layout, const int* pageMode, const int* fast) override;
  int SetPosition(int x, int y) override;
  int IsWaiting() override { return open && stopCount < 0; }
  int GetAnswer() override { return answer; }

  int open = 0;
  int stopCount = -1;
  int answer = -1;

 private:
  Recorder rec_{this};
};

class RecWave : public SWave {
 public:
  ~RecWave() override { rec_.Note("~"); }
  void Play(int flags) override { rec_.Note("Play(" + std::to_string(flags) + ")"); }
  void Stop() override { rec_.Note("Stop()"); }
  void Pause() override { rec_.Note("Pause()"); }

 private:
  Recorder rec_{this};
};

class RecMusic : public SMusic {
 public:
  ~RecMusic() override { rec_.Note("~"); }
  void PlayTrack(int track, int loop) override {
    rec_.Note("PlayTrack(" + std::to_string(track) + "," + std::to_string(loop) + ")");
  }
  void Stop() override { rec_.Note("Stop()"); }
  void Pause() override { rec_.Note("Pause()"); }
  void Resume() override { rec_.Note("Resume()"); }

 private:
  Recorder rec_{this};
};

class RecViewPort : public SViewPort {
 public:
  ~RecViewPort() override { rec_.Note("~"); }
  void SetCamera(STCamera* camera) override {
    rec_.Note(std::string("SetCamera(") + (camera ? camera->GetName() : "null") + ")");
  }
  HOBJECT GetEngineViewport() override {
    rec_.Note("GetEngineViewport()");
    return 0;
  }

 private:
  Recorder rec_{this};
};

class RecSprite : public SSprite {
 public:
  ~RecSprite() override { rec_.Note("~"); }
  void Reset() override { rec_.Note("Reset()"); }
  void Show(int flag) override { rec_.Note("Show(" + std::to_string(flag) + ")"); }
  void SetPage(const int* frame, const int* column, const int* row) override;

 private:
  Recorder rec_{this};
};

// Makes recording actors for every play while it lives, and writes each
// creation into the log as "make:Kind(args)". A kind listed in refuse is
// not made.
class RecordingFactory : public SActorFactory {
 public:
  RecordingFactory();
  ~RecordingFactory() override;

  std::unique_ptr<SDialog> MakeDialog(const std::string& file, const std::string& directory) override;
  std::unique_ptr<SCreature> MakeCreature(const std::string& file, int loadAllPoses,
                                          const std::string& directory) override;
  std::unique_ptr<STCamera> MakeCamera(HOBJECT cameraNode) override;
  std::unique_ptr<SMusic> MakeMusic() override;
  std::unique_ptr<SViewPort> MakeViewport(int x, int y, int width, int height) override;
  std::unique_ptr<SWave> MakeWave(const std::string& file, const std::string& directory) override;
  std::unique_ptr<SBoard> MakeBoard(const std::string& file, const std::string& directory, int frames, int width,
                                    int height) override;
  std::unique_ptr<SFade> MakeFade(int x, int y, int width, int height) override;
  std::unique_ptr<SSprite> MakeSprite(const std::string& file, const std::string& directory, int frames, int columns,
                                      int rows, int grid) override;

  std::vector<std::string> refuse;

 private:
  bool Refused(const std::string& kind) const;
};

}  // namespace cstest
