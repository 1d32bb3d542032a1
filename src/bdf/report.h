// Where the BDF reader and the conversion report what they find. Errors go
// to the error stream as "BDF Error: " and the message, which brings its own
// line feed (or none); warnings, and with verbose on the traces of the values
// read, go to the output stream, when there is one.
#ifndef BDF2VBT_BDF_REPORT_H
#define BDF2VBT_BDF_REPORT_H

#include <cstdio>

class TextOut;

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
  // True when traces are wanted; they go to out().
  bool verbose() const { return verbose_ && out_; }
  TextOut& out() const { return *out_; }

 private:
  TextOut* out_;
  FILE* err_;
  bool verbose_;
  int errors_ = 0;
};

#endif  // BDF2VBT_BDF_REPORT_H
