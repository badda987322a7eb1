#pragma once

// Builds JPEG files for tests and benchmarks with libjpeg's own compressor, so every picture
// a test decodes is made in the test itself.

#include <cstdio>

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
