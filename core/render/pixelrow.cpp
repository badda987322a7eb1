#include "render/pixelrow.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define RK_PIXELROW_AVX2 1
#endif

namespace {
constexpr std::uint32_t opaque = 0xFF000000u;

std::uint32_t pixelFromBytes(const std::uint8_t* p) {
    return opaque | std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
}

// A little-endian word: the pixel's three bytes and the next one.
std::uint32_t word(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

// Four pixels are twelve bytes, read as three words.
void convertPlain(const std::uint8_t* src, std::uint32_t* dst, int x, int count) {
    src += 3 * x;
    for (; x + 4 <= count; x += 4, src += 12) {
        const std::uint32_t a = word(src), b = word(src + 4), c = word(src + 8);
        dst[x] = opaque | (a & 0xFFFFFFu);
        dst[x + 1] = opaque | a >> 24 | (b & 0xFFFFu) << 8;
        dst[x + 2] = opaque | b >> 16 | (c & 0xFFu) << 16;
        dst[x + 3] = opaque | c >> 8;
    }
    for (; x < count; ++x, src += 3)
        dst[x] = pixelFromBytes(src);
}

// Pixels [x, count) with a word read where one fits, then single bytes.
void gatherPlain(const std::uint8_t* row, const std::uint32_t* offsets, std::uint32_t* dst, int x,
                 int count, std::size_t readable) {
    for (; x < count && offsets[x] + 4 <= readable; ++x)
        dst[x] = opaque | (word(row + offsets[x]) & 0xFFFFFFu);
    for (; x < count; ++x)
        dst[x] = pixelFromBytes(row + offsets[x]);
}

#ifdef RK_PIXELROW_AVX2
bool haveAvx2() {
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
}

// Eight pixels a step: bytes 0..11 and 12..23 go to the two 128-bit lanes (each load reads
// 16 bytes, so 4 past the last pixel), where one shuffle spreads them over 32-bit pixels.
__attribute__((target("avx2"))) int convertAvx2(const std::uint8_t* src, std::uint32_t* dst,
                                                int count, std::size_t readable) {
    const __m256i spread = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1, 0,
                                            1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m256i alpha = _mm256_set1_epi32(int(opaque));
    int x = 0;
    for (; x + 8 <= count && std::size_t(3) * x + 28 <= readable; x += 8) {
        const std::uint8_t* p = src + std::size_t(3) * x;
        const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 12));
        const __m256i v = _mm256_inserti128_si256(_mm256_castsi128_si256(lo), hi, 1);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + x),
                            _mm256_or_si256(_mm256_shuffle_epi8(v, spread), alpha));
    }
    return x;
}

// Eight pixels a step where their sources lie within 16 pixels of the first one (a paint of
// a reduced copy steps one or two pixels a column): the 16 pixels are loaded as two vectors,
// each output lane permuted out of both, and the lanes whose source lies in the second half
// take that one. A step whose sources spread further, or whose 16 pixels would run past the
// row, is left to the plain loop (it returns there).
__attribute__((target("avx2"))) int pickAvx2(const std::uint32_t* row, const std::uint32_t* index,
                                             std::uint32_t* dst, int count,
                                             std::uint32_t rowWidth) {
    const __m256i seven = _mm256_set1_epi32(7);
    int x = 0;
    for (; x + 8 <= count; x += 8) {
        const std::uint32_t base = index[x];
        if (index[x + 7] - base >= 16 || std::uint64_t(base) + 16 > rowWidth)
            break;
        const __m256i at =
            _mm256_sub_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(index + x)),
                             _mm256_set1_epi32(int(base)));
        const __m256i lo = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + base));
        const __m256i hi = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + base + 8));
        const __m256i fromLo = _mm256_permutevar8x32_epi32(lo, at);
        const __m256i fromHi = _mm256_permutevar8x32_epi32(hi, at); // the low 3 bits pick
        const __m256i second = _mm256_cmpgt_epi32(at, seven);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + x),
                            _mm256_blendv_epi8(fromLo, fromHi, second));
    }
    return x;
}

#endif
} // namespace

void convertPixelRow(const std::uint8_t* src, std::uint32_t* dst, int count, std::size_t readable) {
    int x = 0;
#ifdef RK_PIXELROW_AVX2
    if (haveAvx2())
        x = convertAvx2(src, dst, count, readable);
#endif
    // The plain loop's words end within the pixels' own bytes (a step reads 12 bytes for
    // four pixels), so it needs no room past them.
    (void)readable;
    convertPlain(src, dst, x, count);
}

void gatherPixelRow(const std::uint8_t* row, const std::uint32_t* offsets, std::uint32_t* dst,
                    int count, std::size_t readable) {
    // Reading scattered pixels is bound by memory, not by the instructions: the processor's
    // gather instructions were measured no faster than these word loads.
    gatherPlain(row, offsets, dst, 0, count, readable);
}

void pickPixels(const std::uint32_t* row, const std::uint32_t* index, std::uint32_t* dst, int count,
                std::uint32_t rowWidth) {
    int x = 0;
#ifdef RK_PIXELROW_AVX2
    if (haveAvx2())
        x = pickAvx2(row, index, dst, count, rowWidth);
#endif
    (void)rowWidth;
    for (; x < count; ++x)
        dst[x] = row[index[x]];
}
