#pragma once

struct MATERIALDESC;

// What the renderers keep for the device's lifetime: made by the device
// set-up, freed with the device.

// Direct3D path: the background material (the colours of the software
// path's default material), and the primitive emitters' work buffers
// (12288 and 32768 bytes to start with).
void CreateBackgroundMaterial();
void ReleaseBackgroundMaterial();
void AllocateEmitterBuffers();
void FreeEmitterBuffers();

// Software path: the rasteriser's two work pools of 8000 records with their
// pointer arrays and a 32000-byte buffer, and its default material (ambient
// 0.5, diffuse and specular 0.8, power 40, untextured).
void AllocateSoftWorkPools();
void FreeSoftWorkPools();
void CreateSoftDefaultMaterial();
void FreeSoftDefaultMaterial();

// The default material of the path in use (the background material of the
// Direct3D path, the software path's default material), outside the pool;
// null while neither exists.
MATERIALDESC* DefaultMaterial();
