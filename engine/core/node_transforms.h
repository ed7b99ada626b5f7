#pragma once
#include "engine/core/handles.h"
#include "engine/core/math3d.h"

struct NODEDESC;

// Placing, turning, scaling and orienting nodes. A node keeps only its local
// transform; world transforms are composed up the parent chain on demand
// (local(node) * local(parent) * ... * local(root), nodes whose enabled flag
// is 0 contributing nothing). Every call that changes a local transform marks
// the node dirty and copies the result into its level-of-detail members.
// Handle 0 is the node under construction.

enum TRANSFORMMODE : int {
  TRANSFORM_SET = 0,     // the local transform is replaced
  TRANSFORM_LOCAL = 1,   // in the node's own axes: change * local
  TRANSFORM_PARENT = 2,  // in the parent's frame: local * change
};

// set: identity rotation at (x, y, z); local: along the node's own axes;
// parent: position += (x, y, z).
void SetNodePosition(HOBJECT node, float x, float y, float z, int mode);
// axis is an AXISCODE; codes 3 to 5 turn about the positive axis by -degrees.
void RotateNode(HOBJECT node, int axis, float degrees, int mode);
void ScaleNode(HOBJECT node, float sx, float sy, float sz, int mode);
void RotateNodeByQuaternion(HOBJECT node, const QUATERNION* rotation, int mode);
void SetNodeMatrix(HOBJECT node, const MATRIX34* matrix, int mode);
// which 1: the local transform; any other value: the composed world transform.
void GetNodeMatrix(HOBJECT node, MATRIX34* out, int which);
// AXISCODE values; one above 5 leaves that axis as it is.
void SetNodeAxes(HOBJECT node, int forward, int up);
// Points the forward axis along direction (straight down when null) with the
// up axis toward up (when given), at position (required).
void SetNodeDirection(HOBJECT node, const VECTOR3* position, const VECTOR3* direction, const VECTOR3* up);
// World position, and the unit vectors of the node's forward and up axes.
void GetNodeWorldVectors(HOBJECT node, VECTOR3* position, VECTOR3* forward, VECTOR3* up);
// A local move by +distance along X, Y or Z (-distance for codes 3 to 5).
void MoveNodeAlongAxis(HOBJECT node, int axis, float distance);
// A local turn; codes 3 to 5 turn about the positive axis by -degrees.
void TurnNodeAboutAxis(HOBJECT node, int axis, float degrees);

// Record-level forms for engine code that holds the record.
void ComposeNodeWorldMatrix(const NODEDESC* node, MATRIX34* out);
void GetNodeWorldVectors(const NODEDESC* node, VECTOR3* position, VECTOR3* forward, VECTOR3* up);
void MoveNodeAlongAxis(NODEDESC* node, int axis, float distance);
void TurnNodeAboutAxis(NODEDESC* node, int axis, float degrees);
void SetNodeMatrix(NODEDESC* node, const MATRIX34* matrix, int mode);
// Copies the local transform into the node's level-of-detail members.
void CopyTransformToLodMembers(NODEDESC* node);
// The unit vector of an AXISCODE; (0, 0, 0) for codes above 5.
VECTOR3 AxisVector(int axis);
// p * m as a point (with the position row) and as a direction (without).
VECTOR3 TransformPoint(const MATRIX34& m, const VECTOR3& p);
VECTOR3 TransformDirection(const MATRIX34& m, const VECTOR3& d);
