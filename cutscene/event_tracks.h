#pragma once
#include <memory>

#include "cutscene/key_manager.h"
#include "cutscene/keys.h"

class SCreature;

// Key tracks whose keys act once, at their own frame. After the Advance of
// frame f the target key is the first key after f, so the Apply of frame f + 1
// finds it there when its frame is f + 1; a key at a negative frame never acts.

// SHOW and PAUSE look their key up in every frame.
class SKMShow : public SKeyManager {
 public:
  using SKeyManager::SKeyManager;
  int Code() const override { return KEY_SHOW; }
  // A visual actor is shown or hidden; so is a sprite.
  int Apply() override;
  int Advance() override;
};

class SKMPause : public SKeyManager {
 public:
  using SKeyManager::SKeyManager;
  int Code() const override { return KEY_PAUSE; }
  int Apply() override;
  int Advance() override;
};

// The others keep the key that acts next.
class SKMEvent : public SKeyManager {
 public:
  explicit SKMEvent(std::unique_ptr<SKey> firstKey) : SKeyManager(std::move(firstKey)) {}
  int Apply() override;
  void Reset() override;

  SKey* previousKey = nullptr;
  SKey* targetKey = nullptr;

 protected:
  // The key's work on the actor; an actor of a kind the track does not serve
  // is left alone.
  virtual int Act(SKey& key) = 0;
  // Scan: look for the next key on every frame.
  int AdvanceScan();
  // Segment: look for it only once the cursor nears the target's frame.
  int AdvanceSegment();
};

class SKMOnTerrain : public SKMEvent {
 public:
  using SKMEvent::SKMEvent;
  int Code() const override { return KEY_ONTERRAIN; }
  int Advance() override { return AdvanceScan(); }

 protected:
  // -1 when the creature does not land.
  int Act(SKey& key) override;
};

class SKMSetParent : public SKMEvent {
 public:
  using SKMEvent::SKMEvent;
  int Code() const override { return KEY_SETPARENT; }
  int Advance() override { return AdvanceSegment(); }
  void Reset() override;

  SCreature* parent = nullptr;  // the creature the actor hangs under

 protected:
  int Act(SKey& key) override;
};

class SKMChangePose : public SKMEvent {
 public:
  using SKMEvent::SKMEvent;
  int Code() const override { return KEY_CHANGEPOSE; }
  int Advance() override { return AdvanceScan(); }

 protected:
  int Act(SKey& key) override;
};

class SKMWave : public SKMEvent {
 public:
  using SKMEvent::SKMEvent;
  int Code() const override { return KEY_WAVE; }
  int Advance() override { return AdvanceSegment(); }
  // Also stops the sound.
  void Reset() override;

 protected:
  int Act(SKey& key) override;
};

class SKMMusic : public SKMEvent {
 public:
  using SKMEvent::SKMEvent;
  int Code() const override { return KEY_MUSIC; }
  int Advance() override { return AdvanceScan(); }

 protected:
  int Act(SKey& key) override;
};

class SKMPoseSpeed : public SKMEvent {
 public:
  using SKMEvent::SKMEvent;
  int Code() const override { return KEY_POSESPEED; }
  int Advance() override { return AdvanceScan(); }

 protected:
  int Act(SKey& key) override;
};

class SKMWavePlay : public SKMEvent {
 public:
  using SKMEvent::SKMEvent;
  int Code() const override { return KEY_WAVEPLAY; }
  int Advance() override { return AdvanceSegment(); }

 protected:
  int Act(SKey& key) override;
};

class SKMDialog : public SKMEvent {
 public:
  using SKMEvent::SKMEvent;
  int Code() const override { return KEY_DIALOG; }
  int Advance() override { return AdvanceSegment(); }

 protected:
  int Act(SKey& key) override;
};

class SKMROSrcBlend : public SKMEvent {
 public:
  using SKMEvent::SKMEvent;
  int Code() const override { return KEY_RO_SRC_BLEND; }
  int Advance() override { return AdvanceSegment(); }

 protected:
  int Act(SKey& key) override;
};

class SKMRODestBlend : public SKMEvent {
 public:
  using SKMEvent::SKMEvent;
  int Code() const override { return KEY_RO_DEST_BLEND; }
  int Advance() override { return AdvanceSegment(); }

 protected:
  int Act(SKey& key) override;
};

class SKMROUseRGBAsOpaque : public SKMEvent {
 public:
  using SKMEvent::SKMEvent;
  int Code() const override { return KEY_RO_USE_RGB_AS_OPAQUE; }
  int Advance() override { return AdvanceSegment(); }

 protected:
  int Act(SKey& key) override;
};

class SKMRGB : public SKMEvent {
 public:
  using SKMEvent::SKMEvent;
  int Code() const override { return KEY_RGB; }
  int Advance() override { return AdvanceSegment(); }

 protected:
  int Act(SKey& key) override;
};

class SKMShadow : public SKMEvent {
 public:
  using SKMEvent::SKMEvent;
  int Code() const override { return KEY_SHADOW; }
  int Advance() override { return AdvanceSegment(); }

 protected:
  int Act(SKey& key) override;
};

class SKMChangePage : public SKMEvent {
 public:
  using SKMEvent::SKMEvent;
  int Code() const override { return KEY_CHANGEPAGE; }
  int Advance() override { return AdvanceSegment(); }

 protected:
  int Act(SKey& key) override;
};

class SKMShowBG : public SKMEvent {
 public:
  using SKMEvent::SKMEvent;
  int Code() const override { return KEY_SHOWBG; }
  int Advance() override { return AdvanceSegment(); }

 protected:
  int Act(SKey& key) override;
};

class SKMPosition2D : public SKMEvent {
 public:
  using SKMEvent::SKMEvent;
  int Code() const override { return KEY_POSITION2D; }
  int Advance() override { return AdvanceSegment(); }

 protected:
  int Act(SKey& key) override;
};

class SKMTextColor : public SKMEvent {
 public:
  using SKMEvent::SKMEvent;
  int Code() const override { return KEY_TEXTCOLOR; }
  int Advance() override { return AdvanceSegment(); }

 protected:
  int Act(SKey& key) override;
};

class SKMTextBColor : public SKMEvent {
 public:
  using SKMEvent::SKMEvent;
  int Code() const override { return KEY_TEXTBCOLOR; }
  int Advance() override { return AdvanceSegment(); }

 protected:
  int Act(SKey& key) override;
};
