// Source of the device's shader programs: fixed-function transform, lighting and texture stage 0
// on OpenGL 3.3 core. The fragment source needs a "#version" line and its defines put before it.
#pragma once

extern const char* const kDeviceVertexShader;
extern const char* const kDeviceFragmentShader;

// Attribute locations shared with the vertex array set-up.
enum DeviceAttribute : unsigned { kAttrPosition = 0, kAttrNormal = 1, kAttrColor = 2, kAttrUv = 3 };
