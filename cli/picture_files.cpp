// SPDX-License-Identifier: MIT
#include "cli/picture_files.h"

#include <algorithm>

#include <png.h>
#include <webp/encode.h>
#include <webp/mux.h>

#include "cli/cell_files.h"

namespace cli {

std::vector<uint8_t> EncodePng(const display::PixelImage& image) {
    // 0xFFRRGGBB pixels to R, G, B bytes, row by row.
    std::vector<uint8_t> rgb;
    rgb.reserve(image.pixels.size() * 3);
    for (const uint32_t p : image.pixels) {
        rgb.push_back(static_cast<uint8_t>(p >> 16));
        rgb.push_back(static_cast<uint8_t>(p >> 8));
        rgb.push_back(static_cast<uint8_t>(p));
    }
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    std::vector<uint8_t> out;
    // The first call measures, the second writes.
    if (png_image_write_to_memory(&png, nullptr, &size, 0, rgb.data(), 0, nullptr)) {
        out.resize(size);
        if (!png_image_write_to_memory(&png, out.data(), &size, 0, rgb.data(), 0, nullptr)) size = 0;
    }
    if (size == 0) {
        const std::string why = png.message;
        png_image_free(&png);
        throw Failure("cannot make the PNG picture: " + why);
    }
    out.resize(size);
    return out;
}

struct WebpAnimation::Encoder {
    WebPAnimEncoder* encoder = nullptr;
    WebPConfig config{};
    int width = 0, height = 0;
    // Milliseconds from the start. libwebp takes a frame's start as an int
    // but only ever uses differences of two starts, taken as unsigned 32-bit
    // numbers; so an animation longer than an int's range (36000 frames of a
    // minute) is counted here in 64 bits and handed over modulo 2^32, which
    // gives every difference right.
    int64_t timestamp = 0;
    int start() const { return static_cast<int>(static_cast<uint32_t>(timestamp)); }
};

WebpAnimation::WebpAnimation(int width, int height) : encoder_(std::make_unique<Encoder>()) {
    WebPAnimEncoderOptions options;
    if (!WebPAnimEncoderOptionsInit(&options) || !WebPConfigInit(&encoder_->config))
        throw Failure("libwebp does not match the version built against");
    options.anim_params.loop_count = 0;              // loop forever
    options.anim_params.bgcolor = 0xFF000000u;       // black, as dead cells
    encoder_->config.lossless = 1;                   // every colour exact
    encoder_->config.method = 2;                     // a fair size at a fair speed
    encoder_->width = width;
    encoder_->height = height;
    encoder_->encoder = WebPAnimEncoderNew(width, height, &options);
    if (!encoder_->encoder) throw Failure("cannot start the WebP animation encoder");
}

WebpAnimation::~WebpAnimation() { WebPAnimEncoderDelete(encoder_->encoder); }

void WebpAnimation::add(const display::PixelImage& frame, int durationMs) {
    WebPPicture picture;
    if (!WebPPictureInit(&picture)) throw Failure("libwebp does not match the version built against");
    picture.use_argb = 1;
    picture.width = encoder_->width;
    picture.height = encoder_->height;
    if (frame.width != picture.width || frame.height != picture.height || !WebPPictureAlloc(&picture))
        throw Failure("cannot make a WebP frame");
    // Both are 0xAARRGGBB words, row by row.
    for (int y = 0; y < picture.height; ++y)
        std::copy_n(&frame.pixels[static_cast<std::size_t>(y) * frame.width], frame.width,
                    picture.argb + static_cast<std::ptrdiff_t>(y) * picture.argb_stride);
    const bool added = WebPAnimEncoderAdd(encoder_->encoder, &picture, encoder_->start(), &encoder_->config);
    WebPPictureFree(&picture);
    if (!added) throw Failure(std::string("cannot encode a WebP frame: ") + WebPAnimEncoderGetError(encoder_->encoder));
    encoder_->timestamp += durationMs;
}

void WebpAnimation::finish(const std::string& path, std::ostream& out) {
    WebPData data;
    WebPDataInit(&data);
    if (!WebPAnimEncoderAdd(encoder_->encoder, nullptr, encoder_->start(), nullptr) ||
        !WebPAnimEncoderAssemble(encoder_->encoder, &data))
        throw Failure(std::string("cannot assemble the WebP animation: ") +
                      WebPAnimEncoderGetError(encoder_->encoder));
    try {
        WriteOutput(path, std::span<const uint8_t>(data.bytes, data.size), out);
    } catch (...) {
        WebPDataClear(&data);
        throw;
    }
    WebPDataClear(&data);
}

}  // namespace cli
