#include "inspect/text_format.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace vbtdump {

std::string formatText(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  int length = vsnprintf(nullptr, 0, format, args);
  va_end(args);
  std::vector<char> buffer(static_cast<size_t>(length > 0 ? length : 0) + 1);
  vsnprintf(buffer.data(), buffer.size(), format, again);
  va_end(again);
  return std::string(buffer.data(), static_cast<size_t>(length > 0 ? length : 0));
}

std::string codeText(int64_t code) {
  const char* sign = code < 0 ? "-" : "";
  const unsigned long long magnitude =
      code < 0 ? 0ULL - static_cast<unsigned long long>(code) : static_cast<unsigned long long>(code);
  return formatText("%s0x%04llX", sign, magnitude);
}

std::string countText(int64_t count, const char* one, const char* many) {
  return formatText("%lld %s", static_cast<long long>(count), count == 1 ? one : many);
}

}  // namespace vbtdump
