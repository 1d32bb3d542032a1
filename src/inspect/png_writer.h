// An RGB PNG image encoded row by row through libpng into memory.
#ifndef BDF2VBT_INSPECT_PNG_WRITER_H
#define BDF2VBT_INSPECT_PNG_WRITER_H

#include <cstdint>
#include <string>
#include <vector>

#include <png.h>

namespace vbtdump {

// The largest width and height libpng accepts by default.
constexpr int64_t kMaxPngSide = 1000000;

class PngWriter {
 public:
  PngWriter() = default;
  PngWriter(const PngWriter&) = delete;
  PngWriter& operator=(const PngWriter&) = delete;
  ~PngWriter();

  // Starts an image of `width` x `height` 8-bit RGB pixels. False, with
  // error() set, on failure.
  bool start(uint32_t width, uint32_t height);
  // Encodes the next row: 3 bytes per pixel, red first.
  bool writeRow(const uint8_t* rgb);
  // Ends the image.
  bool finish();

  // The bytes of the PNG file, once finished.
  const std::vector<uint8_t>& bytes() const { return bytes_; }

  // What went wrong, for a message.
  const std::string& error() const { return error_; }

 private:
  // libpng's error handler: keeps the reason and jumps back to the caller.
  static void onError(png_structp png, png_const_charp message);
  // libpng's warning handler: warnings are dropped.
  static void onWarning(png_structp png, png_const_charp message);
  // Sets error() to `message`; returns false.
  bool fail(const std::string& message);
  // libpng's output: appends to bytes_.
  static void onWrite(png_structp png, png_bytep data, png_size_t length);
  static void onFlush(png_structp png);
  // Writes the image header.
  bool startImage(uint32_t width, uint32_t height);

  std::string error_;
  std::vector<uint8_t> bytes_;
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};

}  // namespace vbtdump

#endif  // BDF2VBT_INSPECT_PNG_WRITER_H
