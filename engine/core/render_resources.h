#pragma once

// What the renderers keep for the device's lifetime: made by the device
// set-up, freed with the device.

// Direct3D path: the background material, and the primitive emitters' work
// buffers (12288 and 32768 bytes).
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
