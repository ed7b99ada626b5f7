#pragma once

struct NODEDESC;
struct VIEWPORTDESC;

// Renderer services that the scene graph calls.

// Sends the fog state to the device for a viewport (Direct3D path).
void ApplyFog(VIEWPORTDESC* viewport, int on);
// The ambient light of the device, and the software path's ambient level.
void SetDeviceAmbient(float red, float green, float blue);
void SetSoftAmbient(float red, float green, float blue);
// Software path: keys the black texels of the node's textures (on) or
// removes those keys (off).
void SetSoftBlendKey(NODEDESC* node, int on);
