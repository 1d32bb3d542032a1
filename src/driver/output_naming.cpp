#include "driver/output_naming.h"

#include <cstring>

int fnsplit(const char* path, std::string* dir, std::string* name, std::string* ext) {
  if (!path) return 1;
  const char* slash = strrchr(path, '/');
  const char* base = slash ? slash + 1 : path;
  if (dir) dir->assign(path, static_cast<size_t>(base - path));
  const char* dot = strrchr(base, '.');
  if (!dot) {
    if (name) name->assign(base);
    if (ext) ext->clear();
  } else if (name) {
    // With a dot, the extension goes along with the name only.
    name->assign(base, static_cast<size_t>(dot - base));
    if (ext) ext->assign(dot + 1);
  }
  return 0;
}

namespace {
constexpr size_t kMaxStyleLetters = 5;
}

int bdfname_2_vbtname(const char* basename, std::string* out) {
  if (!basename || !out) return 1;
  const char* style = strpbrk(basename, "BIOR");
  if (!style) {
    out->assign(basename);
    return 0;
  }
  out->assign(basename, static_cast<size_t>(style - basename));
  std::string letters;
  const char* p = style;
  // The walk ends at a digit, at punctuation below '9', at the terminator and
  // at bytes from 0x80 up, which compare as negative.
  for (; static_cast<signed char>(*p) > '9'; ++p) {
    char letter = *p == 'B' ? 'b' : (*p == 'I' || *p == 'O') ? 'i' : '\0';
    if (letter && letters.size() < kMaxStyleLetters) letters += letter;
  }
  for (; *p >= '0' && *p <= '9'; ++p) *out += *p;
  *out += letters;
  return 0;
}
