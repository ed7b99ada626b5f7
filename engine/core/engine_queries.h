#pragma once
#include "engine/core/handles.h"
#include "engine/core/math3d.h"
#include "platform/window.h"

// Small engine switches and queries.

// Software path: every second screen row is drawn, viewports store half their
// height and y. Read by the rasteriser, picking and projection.
extern int g_lineDoubling;
// Whether InitSound opens CD audio at the next OpenEngine; on at start.
extern int g_cdAudioEnabled;

void EnableInputLanguageHook(int on);
plat::WindowHandle GetMainWindow();
int HasSse();
int HasSse2();
// On the software path the screen is cleared and shown first, and switching
// halves (on) or doubles (off) every viewport's y and height.
void SetLineDoubling(int on, int variant);
// 0 for an 8-bit display, 6 for a deeper one, otherwise the 16-bit layout code 1 to 5.
int GetPixelFormatCode();
// The default viewport's camera node; 0 when there is none.
HOBJECT GetCurrentCamera();
// Degrees; -1.0 while closed, for a bad handle or a node that is not a camera with its data.
float GetCameraFieldOfView(HOBJECT node);
void GetFrameStatistics(int* triangles, int* primitives, int* vertices);
// The billboard's material handle, 0 when it has none.
HOBJECT GetBillboardMaterial(HOBJECT node);
void SetDoubleClickAsPress(int on);
void EnableCDAudio(int on);
int GetSpriteLockPitch();
// Bytes of texture memory free; 0 without an open engine and world.
uint32_t GetFreeTextureMemory();
void MarkNodeTime(HOBJECT node);
// Seconds since the node's MarkNodeTime; 0 while closed or for a bad handle.
double GetNodeElapsedTime(HOBJECT node);
void ShowComposite(HOBJECT composite, int visible);
// The composed transform of the composite's root and its parents: its
// position row, and its second axis negated and normalised.
void GetCompositeWorldVectors(HOBJECT composite, VECTOR3* position, VECTOR3* direction);
