// The progress bar during the file phase.
#pragma once

#include <cstdint>

// Rounded to the nearest integer, halves to the even neighbour.
int64_t RoundHalfEven(double value);

// The bar for entry `entry` of `count` with `copied` of its `size` bytes copied:
// R(entry * 100 / count) + R(copied * R(100 / count) / (size + 1)).
int FileProgress(int32_t entry, int32_t count, int64_t copied, int64_t size);
