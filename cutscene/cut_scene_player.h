#pragma once
#include <memory>
#include <string>

#include "cutscene/cut_scene.h"

class SSceneManager;

// The game object's cut-scene player: it keeps the data directories, creates
// and frees the play, advances it from the game tick and hands back the answer
// of its dialogue. The game drives it: Create, AttachScene, SetDirectories,
// Load, then Tick each game tick until it answers 0, GetAnswer and Stop.
class CCutScenePlayer {
 public:
  CCutScenePlayer();
  // Stops the play and ends the cut-scene society, before the engine closes.
  ~CCutScenePlayer();
  CCutScenePlayer(const CCutScenePlayer&) = delete;
  CCutScenePlayer& operator=(const CCutScenePlayer&) = delete;

  // A new empty play; a play still present is stopped first.
  void Create(int width, int height, const char* suffix, int unused);
  // Resets and frees the play.
  void Stop();
  // Keeps the scene and attaches it to the play; the play's answer, -1 (and
  // nothing kept) without a play.
  int AttachScene(SSceneManager* scene);
  // Each directory becomes the working directory, "\" and the name; the play
  // takes the first four (its sprite directory stays empty).
  void SetDirectories(const char* creature, const char* dialog, const char* waves, const char* texture,
                      const char* scripts);
  // Loads the script from the script directory; the play's result, -1
  // without a play. Playing afterwards only when it succeeded.
  int Load(const char* name, int binary);
  // Plays n frames and updates the attached scene; 1 while the play runs. At
  // the final frame the answer is kept, the play freed and 0 returned; 0 also
  // without a playing play.
  int Tick(int n);
  // The first dialogue actor's answer of the last finished play, -1 initially.
  int GetAnswer() const { return answer_; }

  CCutScene* GetPlay() const { return play_.get(); }
  int IsPlaying() const { return playing_; }
  const std::string& CreatureDirectory() const { return creatureDirectory_; }
  const std::string& DialogDirectory() const { return dialogDirectory_; }
  const std::string& WaveDirectory() const { return waveDirectory_; }
  const std::string& TextureDirectory() const { return textureDirectory_; }
  const std::string& ScriptDirectory() const { return scriptDirectory_; }

 private:
  std::unique_ptr<CCutScene> play_;
  SSceneManager* scene_ = nullptr;
  int playing_ = 0;
  int answer_ = -1;
  std::string creatureDirectory_;
  std::string dialogDirectory_;
  std::string waveDirectory_;
  std::string textureDirectory_;
  std::string scriptDirectory_;
  std::string prefix_;  // the working directory and "\"
};
