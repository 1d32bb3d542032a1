#include "inspect/png_writer.h"

namespace vbtdump {

// libpng reports errors by a long jump back to the setjmp of the method that
// called it; the methods hold no objects that need destroying at that point.

PngWriter::~PngWriter() {
  if (png_) png_destroy_write_struct(&png_, &info_);
}

void PngWriter::onError(png_structp png, png_const_charp message) {
  static_cast<PngWriter*>(png_get_error_ptr(png))->error_ = message;
  png_longjmp(png, 1);
}

void PngWriter::onWrite(png_structp png, png_bytep data, png_size_t length) {
  std::vector<uint8_t>& bytes = static_cast<PngWriter*>(png_get_io_ptr(png))->bytes_;
  bytes.insert(bytes.end(), data, data + length);
}

void PngWriter::onFlush(png_structp) {}

void PngWriter::onWarning(png_structp, png_const_charp) {}

bool PngWriter::fail(const std::string& message) {
  error_ = message;
  return false;
}

bool PngWriter::start(uint32_t width, uint32_t height) {
  png_ = png_create_write_struct(PNG_LIBPNG_VER_STRING, this, onError, onWarning);
  if (png_) info_ = png_create_info_struct(png_);
  if (!png_ || !info_) return fail("out of memory");
  return startImage(width, height);
}

bool PngWriter::startImage(uint32_t width, uint32_t height) {
  if (setjmp(png_jmpbuf(png_))) return false;
  png_set_write_fn(png_, this, onWrite, onFlush);
  png_set_IHDR(png_, info_, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png_, info_);
  return true;
}

bool PngWriter::writeRow(const uint8_t* rgb) {
  if (setjmp(png_jmpbuf(png_))) return false;
  png_write_row(png_, rgb);
  return true;
}

bool PngWriter::finish() {
  if (setjmp(png_jmpbuf(png_))) return false;
  png_write_end(png_, nullptr);
  return true;
}

}  // namespace vbtdump
