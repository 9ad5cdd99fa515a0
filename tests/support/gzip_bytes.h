// SPDX-License-Identifier: MIT
#pragma once

// Text gzipped with zlib, as gzip and Golly write it.

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

inline std::vector<uint8_t> GzipBytes(const std::string& text) {
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::vector<uint8_t> out(deflateBound(&z, text.size()) + 32);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    z.avail_in = static_cast<uInt>(text.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}
