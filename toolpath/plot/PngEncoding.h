// The bytes of a PNG file of a picture held as cairo holds an opaque one: four bytes a pixel,
// the native 32-bit word 0x00RRGGBB.
#pragma once

#include <string>

// width by height pixels, rows stride bytes apart. Throws std::runtime_error when the encoder
// fails.
std::string EncodePng(const unsigned char* pixels, int width, int height, int stride);
