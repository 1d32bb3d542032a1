// Where the BDF reader and the conversion report what they find. Errors go
// to the error stream as "BDF Error: " and the message, which brings its own
// line feed (or none); warnings, and with verbose on the traces of the values
// read, go to the output stream, when there is one.
#ifndef BDF2VBT_BDF_REPORT_H
#define BDF2VBT_BDF_REPORT_H

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

class LineReader;
class TextOut;

// An error kept with its place: where the line being read starts and the
// glyph record it belongs to (empty outside records).
struct BdfFinding {
  size_t position = 0;
  std::string glyph;
  std::string text;   // the message, without its line feed
};

class BdfReport {
 public:
  // `out` may be null: then warnings and traces are dropped; `err` too:
  // then errors are only counted.
  BdfReport(TextOut* out, FILE* err, bool verbose) : out_(out), err_(err), verbose_(verbose) {}

  // Reports a problem of the BDF text, printf-style.
  void error(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // Prints a warning, printf-style.
  void warning(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // The number of problems reported.
  int errors() const { return errors_; }

  // Keeps every error also in *findings, with its place.
  void keepFindings(std::vector<BdfFinding>* findings) { findings_ = findings; }
  // What is being read, for the places of findings: the lines, and the name
  // of the glyph record being read (nullptr outside records).
  void readingFrom(const LineReader* lines) { lines_ = lines; }
  void readingGlyph(const char* name) { glyph_ = name; }
  // True when traces are wanted; they go to out().
  bool verbose() const { return verbose_ && out_; }
  TextOut& out() const { return *out_; }

 private:
  TextOut* out_;
  FILE* err_;
  bool verbose_;
  int errors_ = 0;
  std::vector<BdfFinding>* findings_ = nullptr;
  const LineReader* lines_ = nullptr;
  const char* glyph_ = nullptr;
};

#endif  // BDF2VBT_BDF_REPORT_H
