#include "components/gcb_light.h"

#include "components/society_ext.h"

// MINIMAL: the colour, range and intensity are not read from the node yet.
CGCBLight::CGCBLight(HOBJECT node, int kind) : lightNode(node), lightKind(kind) {}

CGCBLight::~CGCBLight() {
  if (owner) CGCBLight::Detach();
}

int CGCBLight::Attach(CSociety* society) {
  if (!CGCBase::Attach(society)) return 0;
  auto* scene = dynamic_cast<CSocietyExt*>(society);
  if (scene && scene->RegisterLight(this)) return 1;
  CGCBase::Detach();
  return 0;
}

int CGCBLight::Detach() {
  if (!owner) return 0;
  if (auto* scene = dynamic_cast<CSocietyExt*>(owner)) scene->UnregisterLight(this);
  CGCBase::Detach();
  return 1;
}
