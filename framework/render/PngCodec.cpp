#include "render/PngCodec.h"

#include <csetjmp>
#include <cstring>
#include <new>
#include <png.h>

#include "render/PixelOps.h"
#include "render/PngChunks.h"

namespace WUI {
namespace {

struct MemSource {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

// Runs inside libpng; no objects with destructors live here (libpng errors longjmp).
void ReadMem(png_structp png, png_bytep out, png_size_t count) {
    MemSource* src = static_cast<MemSource*>(png_get_io_ptr(png));
    if (src->size - src->pos < count) png_error(png, "read error");
    memcpy(out, src->data + src->pos, count);
    src->pos += count;
}

void SilentWarning(png_structp, png_const_charp) {}
void ErrorToJump(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// Everything the setjmp region touches lives outside it, so a longjmp skips
// no destructor.
struct ReadState {
    png_structp png = nullptr;
    png_infop info = nullptr;
    MemSource src{};
    std::vector<uint8_t>* rgba = nullptr;
    std::vector<png_bytep> rows;
    uint32_t width = 0, height = 0;
    bool premultiply = false;
};

bool ReadInto(ReadState& st) {
    if (setjmp(png_jmpbuf(st.png))) return false;
    png_set_read_fn(st.png, &st.src, ReadMem);
    png_set_user_limits(st.png, ImageLimits::kMaxSide, ImageLimits::kMaxSide);
    png_set_sig_bytes(st.png, 8);
    st.src.pos = 8;
    png_read_info(st.png, st.info);
    png_uint_32 w = 0, h = 0;
    int depth = 0, colorType = 0;
    png_get_IHDR(st.png, st.info, &w, &h, &depth, &colorType, nullptr, nullptr, nullptr);
    uint64_t bytes = ImageBytes(w, h);
    if (bytes == 0) return false;
    // Only the conversions this image needs: each one costs a pass over every row.
    bool trns = png_get_valid(st.png, st.info, PNG_INFO_tRNS) != 0;
    if (colorType == PNG_COLOR_TYPE_PALETTE || depth < 8 || trns) png_set_expand(st.png);
    if (depth == 16) png_set_strip_16(st.png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(st.png);
    if (!(colorType & PNG_COLOR_MASK_ALPHA) && !trns) png_set_add_alpha(st.png, 0xFF, PNG_FILLER_AFTER);
    bool interlaced = png_get_interlace_type(st.png, st.info) != PNG_INTERLACE_NONE;
    if (interlaced) png_set_interlace_handling(st.png);
    png_read_update_info(st.png, st.info);
    if (png_get_rowbytes(st.png, st.info) != size_t(w) * 4) return false;
    st.rgba->resize(size_t(bytes));
    st.rows.resize(h);
    for (png_uint_32 y = 0; y < h; ++y) st.rows[y] = st.rgba->data() + size_t(y) * w * 4;
    if (interlaced) {
        png_read_image(st.png, st.rows.data());
        if (st.premultiply) PremultiplyRgbaToBgra(st.rgba->data(), size_t(w) * h);
    } else {
        // Row by row, converting each while it is still in the cache.
        for (png_uint_32 y = 0; y < h; ++y) {
            png_read_row(st.png, st.rows[y], nullptr);
            if (st.premultiply) PremultiplyRgbaToBgra(st.rows[y], w);
        }
    }
    st.width = w;
    st.height = h;
    return true;
}

struct WriteState {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::vector<png_bytep> rows;
};

bool WriteFrom(WriteState& st, FILE* file, uint32_t width, uint32_t height) {
    if (setjmp(png_jmpbuf(st.png))) return false;
    png_init_io(st.png, file);
    png_set_IHDR(st.png, st.info, width, height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(st.png, st.info);
    png_write_image(st.png, st.rows.data());
    png_write_end(st.png, st.info);
    return true;
}

}  // namespace

bool DecodePngRgba(const uint8_t* data, size_t size, uint32_t* width, uint32_t* height, std::vector<uint8_t>* rgba,
                   bool premultiplyBgra) {
    rgba->clear();
    if (!data || size < 8 || png_sig_cmp(data, 0, 8) != 0 || !PngDataCanFillImage(data, size)) return false;
    ReadState st;
    st.src = MemSource{data, size, 0};
    st.rgba = rgba;
    st.premultiply = premultiplyBgra;
    st.png = png_create_read_struct(png_get_libpng_ver(nullptr), nullptr, ErrorToJump, SilentWarning);
    if (!st.png) return false;
    st.info = png_create_info_struct(st.png);
    bool ok = false;
    try {
        ok = st.info && ReadInto(st);
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    png_destroy_read_struct(&st.png, st.info ? &st.info : nullptr, nullptr);
    if (!ok) {
        rgba->clear();
        return false;
    }
    *width = st.width;
    *height = st.height;
    return true;
}

bool EncodePngRgba(FILE* file, const uint8_t* rgba, uint32_t width, uint32_t height) {
    if (!file || !rgba || ImageBytes(width, height) == 0) return false;
    WriteState st;
    // The linked library's own version: a write struct made for another is refused.
    st.png = png_create_write_struct(png_get_libpng_ver(nullptr), nullptr, ErrorToJump, SilentWarning);
    if (!st.png) return false;
    st.info = png_create_info_struct(st.png);
    bool ok = false;
    if (st.info) {
        st.rows.resize(height);
        for (uint32_t y = 0; y < height; ++y) st.rows[y] = const_cast<png_bytep>(rgba + size_t(y) * width * 4);
        ok = WriteFrom(st, file, width, height);
    }
    png_destroy_write_struct(&st.png, st.info ? &st.info : nullptr);
    return ok;
}

}  // namespace WUI
