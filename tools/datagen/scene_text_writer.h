#pragma once
// Scene file, text form (a name ending in "s"): the tables of the binary
// scene file as words and numbers separated by blanks. Lines whose first
// token starts with '#' or ';' are comments. Keywords are compared without
// regard to case over the keyword's length; a line starting with any other
// word is skipped. Names are single words (at most 15 characters kept, 8
// for people). The blocks, in any order:
//
//   BeginVersion <v>                  thresholds below; under 0.999 traced as old
//   BeginPoint <n>                    then n lines: Point<id> x y z dx dy dz
//   BeginPortal <dest> <point> <n>    then n lines x y z (8 read: corners from
//                                     points 0-3, z range from points 0 and 4)
//   BeginTrigger <name> <n>           n point lines, then Properties <k> and k
//                                     lines: Switch|Block|Auto|Game|Talk <int>,
//                                     Drop|Jump <word with a number>, Level <int>,
//                                     Sound <wave>, Object <target>
//   BeginAnimateExtend <name> <n>     8 point lines (n is not used), then
//                                     Properties <k>: LEAF_FALL, GRASS_SWING,
//                                     Count|Density <int>, Object <name>
//   BeginPeople <word> x y z          the default start position
//   BeginDummy *<name> x y z dx dy dz a person (the first character is not
//                                     part of the name); optional Animate and
//                                     Properties (Npc, Hide, FollowKey and the
//                                     routine's keys); ends with EndDummy
//   BeginCamera <name> x y z tx ty tz <fov> <a> <b>
//                                     then KeyPos|KeyTarget <first> <last> <n>
//                                     (n lines: frame x y z), KeyFov|KeyRoll
//                                     (n lines: frame value); ends with EndCamera
//   BeginLight <name> <type> x y z dx dy dz r g b <intensity> <range> <inner> <outer>
//   BeginMorphdata <v0> <frames> <vertices> <hold> [<uv flag> from 2.099]
//                                     then per frame after the first:
//                                     Frame and its vertices' x y z [u v]
//   BeginObject <name> ... EndObject  name "terrain*" kind 1, "M_*" kind 8,
//                                     "sky*"/"mountain*" flags; "@ShadowArea",
//                                     "@Scale" (Vertices <n> and n points) and
//                                     other "@" dummies are dropped but counted.
//     Clone <source> <12 floats>      a copy of an earlier object (file
//                                     numbering) times the matrix
//     or <parts> Parts <material flag>, per part:
//       <texture> <A> <B> <C> [<frames> <ticks> from 1.299]
//       [<power> <v28> <alpha> <blend> <v40> <faces> with the material flag]
//       ambient r g b, diffuse r g b, specular r g b
//     <vertices> [from 0.999: T|N <colours 0/1> <scroll 0/1> su sv
//                 <spin 0/1> [speed] [Matrix <12 floats>]]
//     vertex lines: x y z [u v] [r g b (0..255)]
//     <triangles>, lines: part (-1 = 0) a b c
//     optional Animate ... EndAnimate (names starting "_" only): KeyPos,
//     KeyScale (frame x y z), KeyRotate (frame angle-in-radians ax ay az),
//     KeyVisibility (frame alpha), each <first> <last> <n> then n lines;
//     optional Properties <k>: Once|Bounce <plays>, Random <delay>, Now,
//     Past, Sound <n>, key <n>, portal|trigger <n>, Item <id> <a> <b>
#include <string>

#include "tools/datagen/scene_file_writer.h"

namespace datagen {

// The scene in the text form at the given version (at least 2.099: every
// field written).
std::string BuildSceneText(const SceneFileData& scene, float version = 2.1f);
bool WriteSceneText(const std::string& path, const SceneFileData& scene, std::string& error);

}  // namespace datagen
