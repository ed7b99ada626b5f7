#pragma once
#include <list>
#include <memory>

class CTarnwick;

struct AFTERIMAGECLONE {
  std::unique_ptr<CTarnwick> clone;  // null: goes at the next update
  int framesLeft = 0;
  int life = 0;
};

struct AFTERIMAGEDESC {
  CTarnwick* body = nullptr;
  int life = 0;
  int period = 0;
  std::list<AFTERIMAGECLONE> clones;
};

// A trail of fading copies behind a body: every `period` frames a clone of
// the body as it stands, fading out over `life` frames.
class CAfterImage {
 public:
  static CAfterImage* Instance();
  static void Destroy();

  void SetBody(CTarnwick* body) { desc.body = body; }
  void SetLife(int frames) { desc.life = frames; }
  void SetPeriod(int frames) { desc.period = frames; }
  // The clones left.
  int Update(int frames);
  void Clear() { desc.clones.clear(); }

  AFTERIMAGEDESC desc;
  int accumulator = 0;

 private:
  void MakeClone();
};
