// The file a program writes, and how it replaces the output path.
//
// A regular output path (or one that does not exist yet) is written into an
// unnamed temporary file in the path's folder (O_TMPFILE), which gets a name
// only once it is complete: the path itself when no file is there, else a
// name of its own from which it is renamed onto the path. A run that fails,
// or a process killed by any signal, leaves no file behind and an earlier
// file at the path as it was. Where the file system refuses unnamed
// files, a named temporary file beside the path takes its place, removed on
// failure and by every signal that would end the process. An existing path
// that is not a regular file (a device, a FIFO) is written directly.
#ifndef BDF2VBT_IO_OUTPUT_FILE_H
#define BDF2VBT_IO_OUTPUT_FILE_H

#include <sys/types.h>

#include <cstddef>
#include <cstdint>

#include <string>

// A file's identity: its device and inode.
struct FileId {
  dev_t device = 0;
  ino_t inode = 0;
  bool operator<(const FileId& o) const { return device != o.device ? device < o.device : inode < o.inode; }
  bool operator==(const FileId& o) const = default;
};

// The identity of the file at `path` (links followed); false when there is none.
bool fileIdOf(const std::string& path, FileId* id);

class OutputFile {
 public:
  OutputFile() = default;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile() { discard(); }

  // Prepares writing to `path` (following symbolic links to their final
  // target). False, with errno set as opening the path for writing would set
  // it, when the path is empty or a directory, cannot be written, or no
  // temporary file can be made in its folder.
  bool open(const std::string& path);

  // The descriptor to write to.
  int fd() const { return fd_; }

  // False when the path is a FIFO or a device that cannot seek, written
  // directly: what is written cannot be rewritten afterwards.
  bool seekable() const { return seekable_; }

  // Makes the written file the output, unless `write_error` (the errno of a
  // failed write, or 0) says the writing failed. Returns 0, or the errno of
  // the failure; on failure nothing is left at the path but what was there.
  // A file that replaces a regular file gets that file's permission bits; a
  // new file gets 0666 less the umask.
  int commit(int write_error);

  // The identity of the file the last commit put at the path.
  const FileId& committed() const { return committed_; }

  // Drops what was written.
  void discard();

 private:
  bool createTemporary();
  int nameTemporary();

  int fd_ = -1;
  bool unnamed_ = false;      // an O_TMPFILE file not yet linked
  std::string final_path_;    // empty when writing directly
  std::string temp_path_;     // the temporary file's name, once it has one
  mode_t mode_ = 0;           // permission bits of the file replaced
  bool replacing_ = false;
  bool seekable_ = true;
  FileId committed_;
};

// Writes the `size` bytes at `data` as the file at `path`, safely as above.
// Returns 0, or the errno of the failure (nothing changed at the path then).
int writeWholeFile(const std::string& path, const uint8_t* data, size_t size);

#endif  // BDF2VBT_IO_OUTPUT_FILE_H
