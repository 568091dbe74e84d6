// Internal helpers of the device layer shared between its source files.
// Not part of the device's interface; include gl_device.h instead.
#pragma once

#include "gl_device.h"

// Points the attributes of the bound vertex array at the bound GL_ARRAY_BUFFER, laid out as format.
void setupVertexAttributes(VertexFormat format);
