#include "pack/file_io.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>

#include "pack/cabinet_writer.h"
#include "pack/pack_error.h"

namespace pack {

namespace fs = std::filesystem;

std::string ReadWholeFile(const fs::path& path) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (ec || !fs::exists(status)) throw ErrorAt(path.string(), 0, "no such file");
  if (!fs::is_regular_file(status)) throw ErrorAt(path.string(), 0, "not a regular file");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ErrorAt(path.string(), 0, std::string("cannot open: ") + std::strerror(errno));
  std::ostringstream data;
  data << in.rdbuf();
  if (in.bad()) throw ErrorAt(path.string(), 0, "read error");
  return std::move(data).str();
}

void ModificationDosTime(const fs::path& path, uint16_t& dosDate, uint16_t& dosTime) {
  std::error_code ec;
  const fs::file_time_type written = fs::last_write_time(path, ec);
  if (ec) throw ErrorAt(path.string(), 0, "cannot read the modification time: " + ec.message());
  const auto system = std::chrono::file_clock::to_sys(written);
  const int64_t seconds =
      std::chrono::duration_cast<std::chrono::seconds>(system.time_since_epoch()).count();
  DosDateTimeOf(seconds, dosDate, dosTime);
}

bool IsExecutable(const fs::path& path) {
  std::error_code ec;
  const fs::perms perms = fs::status(path, ec).permissions();
  return !ec && (perms & fs::perms::owner_exec) != fs::perms::none;
}

}  // namespace pack
