#include "inspect/png_writer.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace vbtdump {

// libpng reports errors by a long jump back to the setjmp of the method that
// called it; the methods hold no objects that need destroying at that point.

PngWriter::~PngWriter() {
  if (png_) png_destroy_write_struct(&png_, &info_);
  if (file_) fclose(file_);
  if (!finished_ && !path_.empty()) unlink(path_.c_str());
}

void PngWriter::onError(png_structp png, png_const_charp message) {
  auto* self = static_cast<PngWriter*>(png_get_error_ptr(png));
  self->error_ = errno != 0 ? strerror(errno) : message;
  png_longjmp(png, 1);
}

void PngWriter::onWarning(png_structp, png_const_charp) {}

bool PngWriter::fail(const std::string& message) {
  error_ = message;
  return false;
}

bool PngWriter::open(const std::string& path, uint32_t width, uint32_t height) {
  file_ = fopen(path.c_str(), "wb");
  if (!file_) return fail(strerror(errno));
  path_ = path;
  png_ = png_create_write_struct(PNG_LIBPNG_VER_STRING, this, onError, onWarning);
  if (png_) info_ = png_create_info_struct(png_);
  if (!png_ || !info_) return fail("out of memory");
  return startImage(width, height);
}

bool PngWriter::startImage(uint32_t width, uint32_t height) {
  if (setjmp(png_jmpbuf(png_))) return false;
  errno = 0;
  png_init_io(png_, file_);
  png_set_IHDR(png_, info_, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png_, info_);
  return true;
}

bool PngWriter::writeRow(const uint8_t* rgb) {
  if (setjmp(png_jmpbuf(png_))) return false;
  errno = 0;
  png_write_row(png_, rgb);
  return true;
}

bool PngWriter::finish() {
  if (setjmp(png_jmpbuf(png_))) return false;
  errno = 0;
  png_write_end(png_, nullptr);
  FILE* file = file_;
  file_ = nullptr;
  const bool flushed = fflush(file) == 0;
  const int flush_error = errno;
  if (fclose(file) != 0 || !flushed) return fail(strerror(flushed ? errno : flush_error));
  finished_ = true;
  return true;
}

}  // namespace vbtdump
