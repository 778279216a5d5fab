#include "pack/output_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "pack/pack_error.h"

namespace pack {

namespace fs = std::filesystem;

namespace {

// A sibling of the target, so the final rename stays on one file system.
fs::path TemporarySibling(const fs::path& target) {
  std::random_device random;
  const unsigned tag = random() & 0xFFFFFFu;
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, ".partial-%06x", tag);
  fs::path sibling = target;
  sibling += suffix;
  return sibling;
}

}  // namespace

OutputFile::OutputFile(fs::path target) : target_(std::move(target)) {
  for (int attempt = 0; attempt < 8 && !stream_.is_open(); ++attempt) {
    temporary_ = TemporarySibling(target_);
    if (fs::exists(temporary_)) continue;
    stream_.open(temporary_, std::ios::binary | std::ios::trunc);
  }
  if (!stream_.is_open()) {
    throw ErrorAt(target_.string(), 0, std::string("cannot create: ") + std::strerror(errno));
  }
}

OutputFile::~OutputFile() {
  if (committed_) return;
  stream_.close();
  std::error_code ignored;
  fs::remove(temporary_, ignored);
}

void OutputFile::Commit(bool executable) {
  stream_.flush();
  stream_.close();
  if (!stream_) throw ErrorAt(target_.string(), 0, "write error (disk full?)");
  fs::perms perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                    fs::perms::others_read;
  if (executable) perms |= fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
  std::error_code ec;
  fs::permissions(temporary_, perms, ec);
  if (!ec) fs::rename(temporary_, target_, ec);
  if (ec) throw ErrorAt(target_.string(), 0, "cannot write: " + ec.message());
  committed_ = true;
}

}  // namespace pack
