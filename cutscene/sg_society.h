#pragma once
#include "components/society_ext.h"

// The cut-scene society: creature actors and the play's light components join
// it for an owner society and a light set; nothing ticks it. It is made on
// first use and must be ended before the engine closes, since a society holds
// engine nodes: the cut-scene player ends it when it is destroyed.
class SGSociety : public CSocietyExt {
 public:
  static SGSociety& Instance();
  // Ends the society, detaching its members; the next Instance makes a new one.
  static void Shutdown();

 private:
  SGSociety() : CSocietyExt(0) {}
};
