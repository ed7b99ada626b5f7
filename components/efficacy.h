#pragma once
#include <memory>
#include <string>
#include <vector>

#include "components/effect_camera.h"
#include "components/effect_creature.h"
#include "components/effect_particle.h"
#include "components/effect_ribbon.h"
#include "components/efficacy_records.h"

class CMSwordMan;

// One special effect: a keyframed show read from ".\Data\Efficacy\<name>.efc"
// and played one effect frame per Update in step with its owning creature.
// Every record of the file becomes one element, placed relative to the
// owner; each frame applies the elements' keys and the frame's sound cues.
// At the end it unloads itself, or, looping, is placed again and restarts.
class CEfficacy {
 public:
  CEfficacy();
  ~CEfficacy();
  CEfficacy(const CEfficacy&) = delete;
  CEfficacy& operator=(const CEfficacy&) = delete;

  // Binds the owner element to creature and loads the file; the reserved
  // argument is not used. 1 when the file was read.
  int Load(const char* name, int reserved, HOBJECT cameraNode, CMSwordMan* creature, int driveCamera);
  int LoadFile(const char* name, int reserved, HOBJECT cameraNode, ModelVirtualClass* owner, int driveCamera);
  void SetLoop(int flag) { loop = flag; }
  // Shows or hides every element; showing a stopped effect places it again.
  // Either way the frames start over.
  void Show(int flag);
  // Plays one frame: 1 after an ordinary frame, 0 when nothing was played,
  // the effect ended, or a looping effect started over.
  int Update(int n);
  void Unload();
  // The element a target name refers to: an element of this effect for a
  // category-prefixed name, else the owner. Null only without an owner.
  ModelVirtualClass* FindTarget(const std::string& targetName);

  int FrameCount() const { return frameCount; }
  int CurrentFrame() const { return currentFrame; }
  int IsPlaying() const { return playing; }
  const std::string& Name() const { return name; }

  template <class Data, class Element>
  struct RECORD {
    Data data;
    std::unique_ptr<Element> element;
  };
  // Camera keys as authored (for an owner at the origin facing -z).
  struct CAMERAORIGINAL {
    VECTOR3 target, eye, movement, orbitAxis;
  };
  struct CAMERARECORD : RECORD<efc::EFCCAMERARECORD, A_Camera> {
    std::vector<CAMERAORIGINAL> originals;
    std::vector<HOBJECT> followed;  // per key
  };
  struct SOUNDRECORD {
    efc::EFCSOUNDRECORD data;
    HOBJECT sound = 0;
  };

  int playing = 0;
  int driveCamera = 1;
  std::string name;
  int blendControl = 1;
  int loop = 0;
  HOBJECT cameraNode = 0;
  ModelVirtualClass* owner = nullptr;
  A_MCObject ownerElement;
  int frameCount = 0;
  int currentFrame = 0;
  int reserved = 0;
  std::vector<RECORD<efc::EFCSECTIONALRECORD, A_SectionalModel>> sectionals;
  std::vector<RECORD<efc::EFCTRACTIONRECORD, A_TractionEfficacy>> tractions;
  std::vector<RECORD<efc::EFCPARTICLERECORD, A_Particle>> particles;
  std::vector<RECORD<efc::EFCLIGHTRECORD, A_LightingModel>> lights;
  std::vector<CAMERARECORD> cameras;
  std::vector<RECORD<efc::EFCCREATURERECORD, A_MCObject>> creatures;
  std::vector<SOUNDRECORD> sounds;

 private:
  int ReadFile(const std::string& path);
  void BuildElements(efc::EFCFILEDESC& file);
  void Place();
  void PlacePass(bool targetsElements);
  void PlaceCameras();
  void PlaceElement(ModelVirtualClass* element, const efc::EFCELEMENTDESC& header);
  void AimElement(ModelVirtualClass* element, ModelVirtualClass* target, const efc::EFCELEMENTDESC& header, bool reset);
  void RefreshAnchors(RECORD<efc::EFCTRACTIONRECORD, A_TractionEfficacy>& record);
  // The index of the current key, or -1 when the element gets no key step.
  template <class Key>
  int FindKey(ModelVirtualClass* element, const std::vector<Key>& keys, const efc::EFCELEMENTDESC& header);
  void ApplyRibbonKey(ModelVirtualClass* element, VECTOR3* scale, const efc::EFCRIBBONKEYDESC& key);
  void ApplyParticleKey(A_Particle* element, const efc::EFCPARTICLEKEYDESC& key);
  void ApplyLightKey(A_LightingModel* element, const efc::EFCLIGHTKEYDESC& key);
  void ApplyCameraKey(A_Camera* element, efc::EFCCAMERAKEYDESC& key, HOBJECT followed);
  void ApplyCreatureKey(A_MCObject* element, VECTOR3* scale, const efc::EFCCREATUREKEYDESC& key);
  void PlaySoundCues(const SOUNDRECORD& record);
  void ApplyBlend(ModelVirtualClass* element, int mode);
  // Moves by speed along the forward axis of node, then turns by spin (y, x, z).
  void MoveFree(ModelVirtualClass* element, HOBJECT node, float speed, const VECTOR3& spin);
};
