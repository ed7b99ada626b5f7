#pragma once
#include <cstdint>

// Message codes of the sprite-window library and its colour convention.
namespace qmz {

// Mouse codes routed from the kernel down to the window under the pointer.
enum SPMOUSECODE : int {
  SPM_MOUSEMOVE = 0x10001,
  SPM_LBUTTONDOWN = 0x10002,
  SPM_LBUTTONUP = 0x10004,
  SPM_MOUSE_UNHANDLED = 0x10008,  // routed; no window handles it
  SPM_AFTER_LBUTTONUP = 0x10010,
  SPM_MOUSE_ACCEPTED = 0x10020,  // routed; accepted without action
  SPM_MOUSE_UNHANDLED2 = 0x10040,
  SPM_ACCEPTED = 0x10100,  // accepted without action; not routed
};

// Kernel notifications sent to a window.
enum SPKERNELCODE : int {
  SPN_ENTER = 0x11003,
  SPN_LEAVE = 0x11004,
  SPN_BRINGTOTOP = 0x11005,  // a: the child window
  SPN_CLICK = 0x11006,
  SPN_AFTER_CLICK = 0x11007,
  SPN_PENDING = 0x11008,  // a 3: the pressed state becomes b
};

// Control notifications, sent to the parent with a = the sender's id.
enum SPCONTROLCODE : int {
  SPN_CHILD_CLICK = 0x11009,
  SPN_CHILD_AFTER_CLICK = 0x1100A,
  SPN_CHILD_CHECK = 0x1100B,
  SPN_CHILD_OWNER_0C = 0x1100C,  // the owner's own codes: the library never sends them
  SPN_CHILD_DOWN = 0x1100D,
  SPN_CHILD_UP = 0x1100E,
  SPN_CHILD_AFTER_UP = 0x1100F,
  SPN_CHILD_SPARE = 0x11010,  // nothing sends it
  SPN_CHILD_OWNER_11 = 0x11011,
  SPN_CHILD_OWNER_12 = 0x11012,
  SPN_CHILD_OWNER_13 = 0x11013,
  SPN_CHILD_OWNER_14 = 0x11014,
  SPN_CHILD_OWNER_18000 = 0x18000,
};

// Colours are 0xBBGGRR integers.
struct SPRGB {
  int red;
  int green;
  int blue;
};
inline SPRGB SplitColour(int32_t colour) { return {colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF}; }

}  // namespace qmz
