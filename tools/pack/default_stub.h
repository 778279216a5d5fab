// Where setup-pack looks for the Windows setup.exe when no --stub is given: beside an
// installed setup-pack (PREFIX/bin/setup-pack finds PREFIX/share/setup-pack/setup.exe), in the
// same folder (setup-pack.exe beside setup.exe), and in the build tree it was built in.
#pragma once

#include <filesystem>
#include <vector>

namespace pack {

// The places, in the order they are tried, for a program at `program`.
std::vector<std::filesystem::path> DefaultStubPlaces(const std::filesystem::path& program);

// The running program's own file; empty when it cannot be told.
std::filesystem::path RunningProgram();

// The first existing place; throws UsageError listing the places when there is none.
std::filesystem::path FindDefaultStub();

}  // namespace pack
