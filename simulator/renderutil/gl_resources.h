// Internal helpers of the device layer shared between its source files.
#pragma once

#include "gl_device.h"

// Points the attributes of the bound vertex array at the bound GL_ARRAY_BUFFER, laid out as format.
void setupVertexAttributes(VertexFormat format);
