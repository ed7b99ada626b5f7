#pragma once
#include <vector>

#include "ui/am_object.h"

class CAmDragObj;
class CAmContainerAgency;

// A slot of a menu screen holding at most one drag object (owned). While an
// object is dragged out of it, a half-transparent ghost of the object stays
// behind. A slot reports to the agency it joined at construction.
class CAmContainer : public CAmObject {
 public:
  // Joins the last agency built (g_amContainerAgency) and hangs under it.
  CAmContainer(const char* imageName, int width, int height, int kind, int id);
  // Joins the given agency instead, when it is still alive.
  CAmContainer(const char* imageName, int width, int height, int kind, int id, CAmContainerAgency* joined);
  // Same size as the template, a clone of its sprite; joins the template's agency.
  CAmContainer(const CAmContainer& templateCell, int kind, int id);
  // Deletes the held object and the ghost; leaves its agency.
  ~CAmContainer() override;

  // The agency switches it on while the slot is the drop target.
  virtual void SetHighlight(int flag);

  // Shows row n of the slot's picture.
  void SetRow(int n);
  // Removes the ghost; object (null: none) becomes the held object, hung
  // under the slot and centred, its drag ended.
  void PutItem(CAmDragObj* object);
  // The held object (or null), detached at its screen position.
  CAmDragObj* TakeItem();
  void MakeGhost(CAmDragObj* object);
  void RemoveGhost();
  // 1 when the slot is unlocked and shown and the object covers more than
  // 0.4 of the smaller of the two rectangles (touching edges do not count).
  int OverlapTest(const CAmDragObj* object) const;
  // Within rect (screen, right and bottom exclusive) and more than 4 pixels
  // high: the slot and its object (or ghost) shown and clipped; else both
  // hidden and locked.
  void ClipTo(const AMRECT& rect);
  // A held object or ghost deleted by someone else.
  void ForgetObject(const CAmDragObj* object);

  // Hover and leave while the slot holds neither object nor ghost.
  void OnMouseMove(int x, int y) override;

  int currentRow = 0;
  int imageRows = 1;
  int kind = 0;  // for the owner
  CAmDragObj* held = nullptr;
  CAmDragObj* ghost = nullptr;
  int hover = 0;
  CAmContainerAgency* agency = nullptr;  // null once the agency is gone

 private:
  void Join(CAmContainerAgency* joined);
};

// Who moved what where: the record AMM_DRAGOBJ_CHECK and AMM_DROPOBJ_CHECK report.
struct AMDROPDESC {
  CAmContainer* source = nullptr;
  CAmDragObj* object = nullptr;
  CAmContainer* target = nullptr;
  CAmDragObj* targetHeld = nullptr;  // what the target held already
};

// The broker of the containers of one screen: it follows the drags of their
// objects, finds and highlights the container under a dragged object and
// reports to its parent. AMM_DRAGOBJ_CHECK comes once per change of target,
// AMM_DROPOBJ_CHECK at the drop; their a is 1 when the agency's drop record
// (DropRecord) describes it and 0 when there is no target.
class CAmContainerAgency : public CAmObject {
 public:
  // Becomes g_amContainerAgency.
  CAmContainerAgency(int id, CAmObject* parent);
  // Clears g_amContainerAgency when it is this one; its containers forget it.
  ~CAmContainerAgency() override;

  void Register(CAmContainer* container);
  void Unregister(CAmContainer* container);
  // Every live agency drops the object from its drag and its record.
  static void ForgetObject(const CAmDragObj* object);
  // Whether the agency exists still.
  static bool IsLive(const CAmContainerAgency* agency);
  // The record a message of an agency refers to, null for a = 0.
  static const AMDROPDESC* DropRecord(int a, const CAmObject* sender);

  // Handles the drag messages of the objects; others pass on.
  int OnMessage(int id, int a, int b, CAmObject* sender) override;

  std::vector<CAmContainer*> containers;  // registration order, not owned
  CAmContainer* target = nullptr;
  CAmContainer* source = nullptr;
  CAmDragObj* dragged = nullptr;
  AMDROPDESC drop;

 private:
  void DragStep(CAmDragObj* object);
  void DropObject(CAmDragObj* object);
  void Cancel(CAmDragObj* object);
  void ClearDrag();
};

// The agency built last; null once it is destroyed.
extern CAmContainerAgency* g_amContainerAgency;
