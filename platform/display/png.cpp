#include "display/png.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace display {
namespace {
struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<FILE, FileCloser>;
}  // namespace

bool WritePng(const std::string& path, const uint32_t* pixels, int width, int height, int stride) {
  File file(std::fopen(path.c_str(), "wb"));
  if (!file) {
    std::fprintf(stderr, "screenshot: cannot write %s: %s\n", path.c_str(), std::strerror(errno));
    return false;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  std::vector<png_byte> row(static_cast<size_t>(width) * 3);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fprintf(stderr, "screenshot: cannot write %s\n", path.c_str());
    return false;
  }
  png_init_io(png, file.get());
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) {
    const uint32_t* source = pixels + static_cast<size_t>(y) * stride;
    for (int x = 0; x < width; ++x) {
      row[x * 3] = static_cast<png_byte>(source[x] >> 16);
      row[x * 3 + 1] = static_cast<png_byte>(source[x] >> 8);
      row[x * 3 + 2] = static_cast<png_byte>(source[x]);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

bool ReadPng(const std::string& path, std::vector<uint32_t>& pixels, int& width, int& height) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_BGRA;  // little-endian words of 0xAARRGGBB
  std::vector<uint32_t> buffer(static_cast<size_t>(image.width) * image.height);
  if (!png_image_finish_read(&image, nullptr, buffer.data(), 0, nullptr)) {
    png_image_free(&image);
    return false;
  }
  for (uint32_t& p : buffer) p &= 0x00FFFFFF;
  pixels = std::move(buffer);
  width = static_cast<int>(image.width);
  height = static_cast<int>(image.height);
  return true;
}

}  // namespace display
