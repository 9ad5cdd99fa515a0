#pragma once

#include <cstdint>
#include <vector>

#include "platform/pixel_image.h"

namespace display {

// The image as a PNG file (8-bit RGB). The pixel data is stored without
// compression, which every PNG reader accepts; board pictures are small.
std::vector<uint8_t> EncodePng(const platform::PixelImage& image);

}  // namespace display
