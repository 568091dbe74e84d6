// last_view.cfg (the observer's 4x4 orientation matrix, row order) and time.cfg (the mission time
// in seconds), the two small files that carry a live run's state to the next run.
#pragma once

#include <string>

#include "math3d.h"

// 16 numbers separated by any white space, in row order. False if the file cannot be read or holds
// fewer than 16 leading numbers; m is then unchanged (the caller uses the identity).
// A number that is not finite also fails, with reason (if given) naming its line.
bool readLastView(const std::string& path, Mat4f& m, std::string* reason = nullptr);
// Four lines of four numbers (six significant digits), one blank between, "\n" after each line.
std::string formatLastView(const Mat4f& m);
bool writeLastView(const std::string& path, const Mat4f& m);

// One number. False only if the file cannot be opened; no leading number gives t = 0.
// A number that is not finite fails too, with reason (if given) saying so.
bool readTimeFile(const std::string& path, float& t, std::string* reason = nullptr);
// One number, six significant digits, no line end.
bool writeTimeFile(const std::string& path, float t);
