// An output file that appears complete or not at all: bytes go to a temporary sibling, which
// Commit renames over the target. Destroyed without Commit (an error on the way), the
// temporary file is removed, so a failed run leaves nothing behind.
#pragma once

#include <filesystem>
#include <fstream>

namespace pack {

class OutputFile {
 public:
  // Throws PackError naming the target when the temporary file cannot be created.
  explicit OutputFile(std::filesystem::path target);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  std::ostream& Stream() { return stream_; }

  // Flushes, sets the permissions (rw-r--r--, plus the execute bits when `executable`) and
  // renames the temporary file to the target. Throws PackError naming the target on failure.
  void Commit(bool executable);

  const std::filesystem::path& TemporaryPath() const { return temporary_; }

 private:
  std::filesystem::path target_;
  std::filesystem::path temporary_;
  std::ofstream stream_;
  bool committed_ = false;
};

}  // namespace pack
