// Whether a program is running, found by its file name in the system's process list.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/system_facts.h"

// The process ID of the first running process of that program, or -1.
int64_t FindProcessByName(const std::string& program);
bool IsProcessRunning(const std::string& program);

// What the snapshot's names are compared with: NT lists bare file names, so only the part after
// the last '\' or ':' counts; Windows 95/98/ME lists full paths, so the whole text counts; any
// other platform compares with the empty text.
std::string ProcessNameToMatch(const std::string& program, uint32_t platformId);
// The first entry whose name equals `name` in the user's upper case, or -1.
int64_t FindProcessIn(const std::vector<platform::ProcessEntry>& entries, const std::string& name);
