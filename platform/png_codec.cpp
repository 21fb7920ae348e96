// PNG decoding and encoding through libpng's simplified interface.
#include "platform/png_codec.h"

#include <png.h>

// PNG_FORMAT_BGRA lays each pixel out as B, G, R, A bytes: on a little-endian machine that is
// one 0xAARRGGBB value.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "pixel layout assumes little-endian");

bool DecodePng(const std::vector<uint8_t>& bytes, DecodedPicture& picture) {
  if (bytes.empty()) return false;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return false;
  // Refuse absurd sizes from a damaged header before allocating for them.
  if (image.width == 0 || image.height == 0 || image.width > 16384 || image.height > 16384) {
    png_image_free(&image);
    return false;
  }
  image.format = PNG_FORMAT_BGRA;
  picture.width = static_cast<int>(image.width);
  picture.height = static_cast<int>(image.height);
  picture.argb.assign(static_cast<size_t>(picture.width) * picture.height, 0);
  if (!png_image_finish_read(&image, nullptr, picture.argb.data(), 0, nullptr)) {
    png_image_free(&image);
    picture = DecodedPicture{};
    return false;
  }
  return true;
}

bool EncodePng(const std::string& path, int width, int height, const uint32_t* argb) {
  if (width <= 0 || height <= 0 || !argb) return false;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_BGRA;
  return png_image_write_to_file(&image, path.c_str(), 0, argb, 0, nullptr) != 0;
}
