#include "toolpath/plot/PngEncoding.h"

#include <png.h>

#include <bit>
#include <csetjmp>
#include <new>
#include <stdexcept>

namespace {

// An exception must not unwind through libpng: a failure to grow the text goes back to the
// encoder's jump buffer as libpng's own errors do.
void AppendToString(png_structp png, png_bytep data, png_size_t length) {
    bool appended = true;
    try {
        static_cast<std::string*>(png_get_io_ptr(png))
            ->append(reinterpret_cast<const char*>(data), length);
    } catch (const std::bad_alloc&) {
        appended = false;
    }
    if (!appended) png_error(png, "out of memory");
}

void Flush(png_structp) {}

// Runs the encoder; false when it failed (libpng returns to its jump buffer). Nothing here may
// need its destructor run: a failure jumps over it.
bool Encode(png_structp png, png_infop info, const unsigned char* pixels, int width, int height,
            int stride, std::string& bytes) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, &bytes, AppendToString, Flush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    // A plot is mostly white ground and thin lines: the fastest deflate and the filter that
    // takes each pixel from the one before write it in a fraction of the default's time, and
    // the file stays small.
    png_set_compression_level(png, 1);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_write_info(png, info);
    // The word 0x00RRGGBB is blue, green, red and an unused byte in memory on a little-endian
    // machine, the unused byte first on a big-endian one.
    if constexpr (std::endian::native == std::endian::little) {
        png_set_bgr(png);
        png_set_filler(png, 0, PNG_FILLER_AFTER);
    } else {
        png_set_filler(png, 0, PNG_FILLER_BEFORE);
    }
    for (int row = 0; row < height; ++row)
        png_write_row(png,
                      const_cast<png_bytep>(pixels + static_cast<std::ptrdiff_t>(row) * stride));
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

std::string EncodePng(const unsigned char* pixels, int width, int height, int stride) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) throw std::runtime_error("cannot write the PNG: out of memory");
    png_infop info = png_create_info_struct(png);
    std::string bytes;
    const bool written = info != nullptr && Encode(png, info, pixels, width, height, stride, bytes);
    png_destroy_write_struct(&png, &info);
    if (!written) throw std::runtime_error("cannot write the PNG");
    return bytes;
}
