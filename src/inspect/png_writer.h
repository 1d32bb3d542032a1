// An RGB PNG file written row by row through libpng.
#ifndef BDF2VBT_INSPECT_PNG_WRITER_H
#define BDF2VBT_INSPECT_PNG_WRITER_H

#include <cstdint>
#include <cstdio>
#include <string>

#include <png.h>

namespace vbtdump {

// The largest width and height libpng accepts by default.
constexpr int64_t kMaxPngSide = 1000000;

class PngWriter {
 public:
  PngWriter() = default;
  PngWriter(const PngWriter&) = delete;
  PngWriter& operator=(const PngWriter&) = delete;
  // An unfinished file is removed.
  ~PngWriter();

  // Creates `path` for an image of `width` x `height` 8-bit RGB pixels and
  // writes its header. False, with error() set, on failure.
  bool open(const std::string& path, uint32_t width, uint32_t height);
  // Writes the next row: 3 bytes per pixel, red first.
  bool writeRow(const uint8_t* rgb);
  // Ends the image and closes the file.
  bool finish();

  // What went wrong, for a message.
  const std::string& error() const { return error_; }

 private:
  // libpng's error handler: keeps the reason and jumps back to the caller.
  static void onError(png_structp png, png_const_charp message);
  // libpng's warning handler: warnings are dropped.
  static void onWarning(png_structp png, png_const_charp message);
  // Sets error() to `message`; returns false.
  bool fail(const std::string& message);
  // Writes the image header.
  bool startImage(uint32_t width, uint32_t height);

  std::string path_;
  std::string error_;
  FILE* file_ = nullptr;
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
  bool finished_ = false;
};

}  // namespace vbtdump

#endif  // BDF2VBT_INSPECT_PNG_WRITER_H
