#pragma once

class CAmObject;
class CGameDataLoader;
class CGameResource;
struct MENURESULTDESC;

// The save and load list over owner; without allowSave it only loads. A
// chosen slot reaches the owner as AMM_USER + 3 with the slot.
void OpenSaveList(int allowSave, CGameDataLoader* loader, CGameResource* resource, CAmObject* owner);
// The main window with only its system page, writing to result.
void OpenSystemWindow(MENURESULTDESC* result, CAmObject* owner);
