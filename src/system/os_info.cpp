#include "system/os_info.h"

bool Is64BitFromAnswer(platform::Wow64Answer answer) {
  switch (answer) {
    case platform::Wow64Answer::Unavailable:
      // Systems before XP SP2 lack the function; none of them is 64-bit.
      return false;
    case platform::Wow64Answer::Failed:
      throw ESystemInfo("Bad process handle");
    case platform::Wow64Answer::No:
      return false;
    case platform::Wow64Answer::Yes:
      return true;
  }
  return false;
}

bool TOSInfo::Is64BitWindows() { return Is64BitFromAnswer(platform::QueryWow64()); }
