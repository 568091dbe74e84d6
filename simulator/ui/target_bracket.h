// The target bracket: four corners around the target's true direction, a little larger than its
// disc.
#pragma once

#include "screen_shapes.h"
#include "sky_projection.h"

constexpr uint32_t kTargetBracketArgb = 0xFF60FF60;

// Half the bracket's width, pixels: a little more than the target's disc.
float targetBracketHalfSizePx(const BodyOnScreen& target);

// Adds the bracket of target to shapes when its direction is in front of the camera.
void addTargetBracket(const BodyOnScreen& target, ScreenShapes& shapes);
