// SPDX-License-Identifier: MIT
#pragma once

// Pictures of the board for other programs: a PNG through libpng and a
// lossless animated WebP through libwebp's animation encoder. Failures are
// thrown as cli::Failure.

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "display/pixel_image.h"

namespace cli {

// The image as a compressed 8-bit RGB PNG file.
std::vector<uint8_t> EncodePng(const display::PixelImage& image);

// Builds an animated WebP frame by frame: each frame is encoded losslessly
// as it is added, so only the compressed frames are kept, not the pictures.
class WebpAnimation {
public:
    WebpAnimation(int width, int height);
    ~WebpAnimation();
    WebpAnimation(const WebpAnimation&) = delete;
    WebpAnimation& operator=(const WebpAnimation&) = delete;

    // Adds a frame shown for `durationMs` milliseconds; it must have the
    // animation's size.
    void add(const display::PixelImage& frame, int durationMs);
    // Writes the whole file (with WriteOutput, so "-" is standard output);
    // the animation loops forever.
    void finish(const std::string& path, std::ostream& out);

private:
    struct Encoder;
    std::unique_ptr<Encoder> encoder_;
};

}  // namespace cli
