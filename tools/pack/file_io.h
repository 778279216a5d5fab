// Reading the packer's inputs, with errors that name the file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace pack {

// The whole file. Throws PackError naming the path when it is missing, not a regular file or
// unreadable.
std::string ReadWholeFile(const std::filesystem::path& path);

// The file's last modification time as a DOS date and time in local time, as cabinets store
// it. Throws PackError naming the path when the time cannot be read.
void ModificationDosTime(const std::filesystem::path& path, uint16_t& dosDate, uint16_t& dosTime);

// The owner may execute the file.
bool IsExecutable(const std::filesystem::path& path);

}  // namespace pack
