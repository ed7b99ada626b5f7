#include "ui/menu_agency.h"

#include <algorithm>

CMenuAgency g_menuAgency;

CGMBase::~CGMBase() { Detach(); }

int CGMBase::Attach(CMenuAgency* agency) {
  if (!agency || root) return 0;
  root = agency;
  agency->elements.push_back(this);
  return 1;
}

void CGMBase::Detach() {
  if (!root) return;
  auto& list = root->elements;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  root = nullptr;
}

int CMenuAgency::Tick() {
  int due = tickTimer.Tick();
  return due > 4 ? 4 : due;
}

int CMenuAgency::OnKey(int, int) { return 0; }
