#include "LibpngPeer.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

namespace {

struct TReadCursor {
  const std::vector<uint8_t>* Bytes;
  size_t At;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto* cursor = static_cast<TReadCursor*>(png_get_io_ptr(png));
  if (cursor->At + count > cursor->Bytes->size()) png_error(png, "read past the end");
  std::memcpy(out, cursor->Bytes->data() + cursor->At, count);
  cursor->At += count;
}

void WriteToMemory(png_structp png, png_bytep data, png_size_t count) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + count);
}

void Flush(png_structp) {}

void RecordError(png_structp png, png_const_charp message) {
  *static_cast<std::string*>(png_get_error_ptr(png)) = message;
  png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

}  // namespace

size_t PeerRowBytes(const TPeerImageShape& shape) {
  const int channels = shape.ColorType == 2 ? 3 : shape.ColorType == 4 ? 2 : shape.ColorType == 6 ? 4 : 1;
  return (size_t{shape.Width} * static_cast<size_t>(channels * shape.BitDepth) + 7) / 8;
}

void FillRandomRows(TPeerImageShape& shape, uint32_t seed) {
  shape.Rows.resize(PeerRowBytes(shape) * shape.Height);
  for (auto& b : shape.Rows) {
    seed = seed * 1103515245u + 12345u;
    b = static_cast<uint8_t>(seed >> 16);
  }
}

std::vector<std::array<uint8_t, 3>> RampPalette(int bitDepth) {
  std::vector<std::array<uint8_t, 3>> palette;
  for (int i = 0; i < (1 << bitDepth); ++i)
    palette.push_back({static_cast<uint8_t>(i * 37 + 5), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 91)});
  return palette;
}

std::vector<uint8_t> LibpngWrite(const TPeerImageShape& shape) {
  std::vector<uint8_t> out;
  std::string error;
  std::vector<png_color> palette;
  std::vector<png_bytep> rows(shape.Height);
  for (uint32_t y = 0; y < shape.Height; ++y)
    rows[y] = const_cast<png_bytep>(shape.Rows.data() + y * PeerRowBytes(shape));
  for (const auto& c : shape.Palette) palette.push_back(png_color{c[0], c[1], c[2]});
  png_color_16 key{};
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, RecordError, IgnoreWarning);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(png, &out, WriteToMemory, Flush);
  png_set_IHDR(png, info, shape.Width, shape.Height, shape.BitDepth, shape.ColorType,
               shape.Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
  if (!shape.PaletteAlpha.empty())
    png_set_tRNS(png, info, shape.PaletteAlpha.data(), static_cast<int>(shape.PaletteAlpha.size()), nullptr);
  if (shape.Key) {
    key.gray = (*shape.Key)[0];
    key.red = (*shape.Key)[0];
    key.green = (*shape.Key)[1];
    key.blue = (*shape.Key)[2];
    png_set_tRNS(png, info, nullptr, 0, &key);
  }
  if (shape.Filters != 0) png_set_filter(png, 0, shape.Filters);
  png_write_info(png, info);
  if (shape.Interlaced) png_set_interlace_handling(png);
  png_write_image(png, rows.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

namespace {

// Reads the whole image; with expand, as 8-bit RGBA (LibpngReadRgba), else as stored.
TPeerRaw ReadWithLibpng(const std::vector<uint8_t>& file, bool expand) {
  TPeerRaw image;
  TReadCursor cursor{&file, 0};
  std::vector<png_bytep> rows;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &image.Error, RecordError, IgnoreWarning);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return image;
  }
  png_set_read_fn(png, &cursor, ReadFromMemory);
  png_read_info(png, info);
  image.Interlace = png_get_interlace_type(png, info);
  if (expand) {
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  }
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  image.Width = png_get_image_width(png, info);
  image.Height = png_get_image_height(png, info);
  image.ColorType = png_get_color_type(png, info);
  image.BitDepth = png_get_bit_depth(png, info);
  image.RowBytes = png_get_rowbytes(png, info);
  image.Rows.resize(image.RowBytes * image.Height);
  for (uint32_t y = 0; y < image.Height; ++y) rows.push_back(image.Rows.data() + size_t{y} * image.RowBytes);
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return image;
}

}  // namespace

TPeerRgba LibpngReadRgba(const std::vector<uint8_t>& file) {
  TPeerRaw raw = ReadWithLibpng(file, true);
  return TPeerRgba{raw.Width, raw.Height, std::move(raw.Rows), std::move(raw.Error)};
}

TPeerRaw LibpngReadRaw(const std::vector<uint8_t>& file) { return ReadWithLibpng(file, false); }
