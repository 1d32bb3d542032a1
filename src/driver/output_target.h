// The file a conversion writes, and how it replaces the output path.
//
// A regular output path (or a path that does not exist yet) is written through
// a temporary file beside it, renamed onto the path only when the conversion
// completed and every write succeeded; a failed conversion leaves an earlier
// file at the path untouched. An existing path that is not a regular file (a
// device, a FIFO) is written directly.
#ifndef BDF2VBT_DRIVER_OUTPUT_TARGET_H
#define BDF2VBT_DRIVER_OUTPUT_TARGET_H

#include <string>

class OutputFile;

class OutputTarget {
 public:
  OutputTarget() = default;
  OutputTarget(const OutputTarget&) = delete;
  OutputTarget& operator=(const OutputTarget&) = delete;
  ~OutputTarget() { discard(); }

  // Prepares writing to `path` (following symbolic links to their final
  // target). False, with errno set, when the path is a directory, cannot be
  // written, or no temporary file can be made beside it.
  bool open(const std::string& path);

  // The descriptor to write to.
  int fd() const { return fd_; }

  // Flushes `out` and makes the written file the output. Returns 0, or the
  // errno of the first failed write, seek, close or rename; on failure the
  // temporary file is removed.
  int commit(OutputFile& out);

  // Drops what was written (removes the temporary file).
  void discard();

 private:
  // Opens a new temporary file beside final_path_.
  bool createTemporary();

  int fd_ = -1;
  std::string final_path_;
  std::string temp_path_;   // empty when writing directly
};

#endif  // BDF2VBT_DRIVER_OUTPUT_TARGET_H
