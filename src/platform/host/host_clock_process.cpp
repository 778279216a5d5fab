// The local calendar and process creation on the host. Every program start is logged; a
// program whose file in the sandbox is a script ("#!") really runs, with the sandbox in its
// environment, so tests can give an uninstaller or a command an effect.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

#include "platform/clock.h"
#include "platform/host/host_control.h"
#include "platform/host/host_state.h"
#include "platform/process_run.h"

namespace {

// The program of a command line: the quoted text at its start, or its first word.
std::string ProgramOf(const std::string& commandLine) {
  if (!commandLine.empty() && commandLine[0] == '"') {
    size_t end = commandLine.find('"', 1);
    return commandLine.substr(1, end == std::string::npos ? std::string::npos : end - 1);
  }
  return commandLine.substr(0, commandLine.find(' '));
}

bool IsScript(const std::string& hostPath) {
  FILE* file = std::fopen(hostPath.c_str(), "rb");
  if (!file) return false;
  char start[2] = {};
  bool script = std::fread(start, 1, 2, file) == 2 && start[0] == '#' && start[1] == '!';
  std::fclose(file);
  return script;
}

}  // namespace

namespace platform {

LocalDateTime LocalNow() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
          local.tm_hour,        local.tm_min,     local.tm_sec};
}

std::string ShortDateFormat() { return host::Facts().shortDateFormat; }

bool RunProcessAndWait(const std::string& commandLine, const std::string& currentFolder, int show) {
  std::string entry =
      "run " + commandLine + " in " + currentFolder + " show " + std::to_string(show);
  host::State().started.push_back(entry);
  host::AppendLog("started.log", entry + "\n");
  std::string program = host::HostPath(ProgramOf(commandLine));
  if (program.empty() || access(program.c_str(), F_OK) != 0) return false;
  if (!IsScript(program)) return true;
  std::fflush(nullptr);
  pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    setenv("SETUP_HOST_SANDBOX", host::Sandbox().c_str(), 1);
    setenv("SETUP_HOST_COMMAND_LINE", commandLine.c_str(), 1);
    execl("/bin/sh", "sh", program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
  }
  return true;
}

}  // namespace platform
