#pragma once

// Builds JPEG files for tests and benchmarks with libjpeg's own compressor, so every picture
// a test decodes is made in the test itself.

#include <cstdio>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <jpeglib.h>

struct JpegRecipe {
    int width = 1;
    int height = 1;
    // Colour space of the samples handed to the compressor: JCS_RGB (3), JCS_GRAYSCALE (1),
    // JCS_CMYK (4) or JCS_UNKNOWN with `components` samples a pixel.
    J_COLOR_SPACE input = JCS_RGB;
    int components = 3;
    // Colour space stored in the file; JCS_UNKNOWN keeps the library's choice for `input`.
    J_COLOR_SPACE stored = JCS_UNKNOWN;
    int quality = 100;
    bool fullChroma = true; // 4:4:4; false keeps the library's 4:2:0
    bool progressive = false;
    bool adobeMarker = true; // only matters for CMYK and YCCK, where the library writes one
    // Sample `c` of the pixel at (x, y), from the top-left.
    std::function<std::uint8_t(int x, int y, int c)> sample = [](int, int, int) {
        return std::uint8_t(0);
    };
};

inline std::string makeJpeg(const JpegRecipe& recipe) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&cinfo, &out, &outSize);
    cinfo.image_width = static_cast<JDIMENSION>(recipe.width);
    cinfo.image_height = static_cast<JDIMENSION>(recipe.height);
    cinfo.input_components = recipe.components;
    cinfo.in_color_space = recipe.input;
    jpeg_set_defaults(&cinfo);
    if (recipe.stored != JCS_UNKNOWN)
        jpeg_set_colorspace(&cinfo, recipe.stored);
    jpeg_set_quality(&cinfo, recipe.quality, TRUE);
    if (recipe.fullChroma)
        for (int c = 0; c < cinfo.num_components; ++c)
            cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
    if (recipe.progressive)
        jpeg_simple_progression(&cinfo);
    cinfo.write_Adobe_marker = recipe.adobeMarker && cinfo.write_Adobe_marker;
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(std::size_t(recipe.width) * recipe.components);
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = static_cast<int>(cinfo.next_scanline);
        for (int x = 0; x < recipe.width; ++x)
            for (int c = 0; c < recipe.components; ++c)
                row[std::size_t(x) * recipe.components + c] = recipe.sample(x, y, c);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::string bytes(reinterpret_cast<const char*>(out), outSize);
    std::free(out);
    return bytes;
}

// A flat picture of one colour (samples in the input colour space).
inline JpegRecipe flatJpeg(int width, int height, std::vector<std::uint8_t> colour) {
    JpegRecipe recipe;
    recipe.width = width;
    recipe.height = height;
    recipe.components = static_cast<int>(colour.size());
    recipe.input = colour.size() == 1 ? JCS_GRAYSCALE : colour.size() == 4 ? JCS_CMYK : JCS_RGB;
    recipe.sample = [colour](int, int, int c) { return colour[std::size_t(c)]; };
    return recipe;
}

inline void writeBytesToFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

// A progressive grey JPEG of width x height whose coefficients are all zero, split into
// `scans` scans that each cover every block and hold nothing but end-of-band runs: a few
// bytes a scan, yet the decoder walks every block of the picture for each of them.
inline std::string makeScanBomb(int width, int height, int scans) {
    std::string j;
    auto marker = [&](unsigned char code, std::initializer_list<int> body) {
        j += char(0xFF);
        j += char(code);
        const std::size_t length = body.size() + 2;
        j += char(length >> 8);
        j += char(length & 0xFF);
        for (int b : body)
            j += char(b);
    };
    j += "\xFF\xD8"; // SOI
    std::initializer_list<int> table = {0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
                                        1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
                                        1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
                                        1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    marker(0xDB, table); // DQT: table 0, all ones
    marker(0xC2, {8, height >> 8, height & 0xFF, width >> 8, width & 0xFF, 1, 1, 0x11, 0});
    // DHT: AC table 0 with one code "0" for the symbol 0xE0 (an end-of-band run of 2^14 plus
    // 14 more bits' worth of blocks).
    marker(0xC4, {0x10, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xE0});
    const std::uint64_t blocks = std::uint64_t((width + 7) / 8) * std::uint64_t((height + 7) / 8);
    for (int s = 0; s < scans; ++s) {
        marker(0xDA, {1, 1, 0x00, 1, 63, 0x00}); // one component, AC 1..63, first pass
        // Runs of at most 32767 blocks: the code bit "0", then 14 bits of run - 2^14.
        std::uint32_t acc = 0;
        int bits = 0;
        auto put = [&](std::uint32_t value, int count) {
            acc = (acc << count) | value;
            bits += count;
            while (bits >= 8) {
                const auto byte = static_cast<unsigned char>(acc >> (bits - 8));
                j += char(byte);
                if (byte == 0xFF)
                    j += char(0); // stuffed
                bits -= 8;
            }
        };
        // A run longer than the blocks left simply ends with the scan, so each run covers
        // at least 2^14 blocks and at most 32767.
        for (std::uint64_t left = blocks; left > 0;) {
            const std::uint64_t run = std::clamp<std::uint64_t>(left, 16384, 32767);
            put(0, 1);
            put(std::uint32_t(run - 16384), 14);
            left -= std::min(left, run);
        }
        if (bits > 0)
            put((1u << (8 - bits)) - 1, 8 - bits); // pad with one bits
    }
    j += "\xFF\xD9"; // EOI
    return j;
}
