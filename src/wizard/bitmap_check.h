// Recognises a Windows bitmap file that a picture control can show.
#pragma once

#include <cstddef>
#include <string>

// The header of a device-independent bitmap ("BM", a known info header, sane dimensions and
// a pixel array inside the file).
bool IsReadableBitmap(const unsigned char* data, size_t size);

// Reads the file through the platform and checks it.
bool IsReadableBitmapFile(const std::string& path);
