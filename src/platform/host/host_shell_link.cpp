// Shell links on the host: a small text file that names each field, which tests read back.
// Saving fails where a real save would: a missing folder or a file that cannot be written.
#include <cstdio>

#include "platform/host/host_control.h"
#include "platform/host/host_state.h"
#include "platform/shell_link.h"

namespace platform {

void InitComponentLibrary() {}

bool SaveShellLink(const std::string& linkPath, const ShellLinkFields& fields) {
  std::string path = host::HostPath(linkPath);
  if (path.empty()) return false;
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  std::string text = "[ShellLink]\r\nTarget=" + fields.target + "\r\nArguments=" +
                     fields.arguments + "\r\nDescription=" + fields.description + "\r\n";
  if (fields.setWorkingFolder) text += "WorkingFolder=" + fields.workingFolder + "\r\n";
  if (fields.setIcon)
    text += "Icon=" + fields.iconFile + "," + std::to_string(fields.iconIndex) + "\r\n";
  text += "ShowCommand=" + std::to_string(fields.showCommand) + "\r\n";
  bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  written = std::fclose(file) == 0 && written;
  if (written) host::JournalFileSystem("create-file", host::FullWindowsPath(linkPath));
  return written;
}

}  // namespace platform
