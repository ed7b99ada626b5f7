#pragma once
#include <string>

#include "platform/files.h"
#include "tools/datagen/creature_model_desc.h"

// Text creature model (not the engine's ".qx3"): lines of blank-separated
// tokens, LF endings; the first token of most lines is a label the reader
// skips. Sections:
//   BeginBase frames <frames> <name> 0 none 0
//   per object or part, numbered from 1 in writing order (objects first):
//     BeginObject <n> <name>
//     Dummy                                  (a hidden object without vertices)
//   or
//     <Mesh|Morph> materials <count> parameters 1
//     per material: Material <i> <texture|NULL> <r> <g> <b> <frames> 0
//                   Power <p> / Specular 0.05 / Alpha <alpha> <render type> /
//                   Emission <e> / Faces <face flags> /
//                   Ambient, Diffuse, Specular: three floats each
//     Vertices <count> <Textured|None> <colours 0|1> <scroll 0|1> [<u> <v>]
//     per vertex: x y z [u v] [three colour values]
//     Triangles <count>; per triangle: t <material> <a> <b> <c>
//   BeginRelationship <count>; per mesh: r 0
//   BeginPose <count>; per pose: p <start> <end> <window> <loop start> <loop end>
//   BeginMove; per frame: <frame> x y z
//   per object: BeginFrame <n> 0 0 0 0 <hidden>; per frame: m and 12 floats
//   per part with more than one key set or its own weights:
//     BeginMorphdata <n> <key count>; [FrameWeight, then one weight a line];
//     Vertices <count> <Textured|None>; per key set 1..: Key <k> and its
//     vertices x y z [u v].
// A part's mesh is its key set 0 with the parts' texture coordinates; its
// normals are computed by the reader. Names are single tokens.
namespace datagen {

bool WriteCreatureText(const CreatureModel& model, plat::ByteWriter& out, std::string& error);

}  // namespace datagen
