#pragma once

// The one spherical convention of the library's cameras. The angles give the
// view direction u(theta, phi) = (sin phi cos theta, sin phi sin theta, cos phi):
// theta is its heading from +X, counter-clockwise seen from +Z, and phi its
// angle from +Z (pi/2 looks level, more looks down). A camera orbiting a centre
// at a radius stands at centre - radius u, so it looks at the centre.
namespace qmz {

void SphereDirection(float theta, float phi, float* out);
// Camera rows (M12) at eye looking along the unit vector forward: the camera
// looks along its local -Z with its Y axis up towards world +Z, then turned by
// roll about the view axis (counter-clockwise seen from behind the camera).
void BuildViewMatrix12(const float* eye, const float* forward, float roll, float* m12);

}  // namespace qmz
