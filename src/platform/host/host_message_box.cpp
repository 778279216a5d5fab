// Message boxes on the host: answered from the queue the test (or the answers file) provides,
// each one logged. A box without an answer ends the run instead of waiting for a user who is
// not there; a box with only an OK button is answered OK.
#include "platform/message_box.h"

#include <cstdio>
#include <cstdlib>

#include "platform/host/host_state.h"

namespace platform {
namespace {

std::string Escaped(const std::string& text) {
  std::string result;
  for (char c : text) {
    if (c == '\r') result += "\\r";
    else if (c == '\n') result += "\\n";
    else if (c == '\\') result += "\\\\";
    else result += c;
  }
  return result;
}

}  // namespace

int ShowMessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                   uint32_t style) {
  host::HostState& state = host::State();
  int answer = 0;
  if (!state.answers.empty()) {
    answer = state.answers.front();
    state.answers.erase(state.answers.begin());
  } else if ((style & 0x0F) == kMbOk) {
    answer = kIdOk;
  }
  state.messageBoxes.push_back({caption, text, style, owner != 0, answer});
  char styleText[16];
  std::snprintf(styleText, sizeof styleText, "0x%08X", style);
  std::string record = "caption=" + Escaped(caption) + "\ntext=" + Escaped(text) +
                       "\nstyle=" + styleText + "\nowned=" + (owner ? "1" : "0") +
                       "\nanswer=" + std::to_string(answer) + "\n--\n";
  host::AppendLog("messagebox.log", record);
  if (state.writeLogs) std::fprintf(stderr, "[message box] %s: %s\n", caption.c_str(), Escaped(text).c_str());
  if (answer == 0) {
    std::fprintf(stderr, "setup-host: no answer for the message box \"%s\"\n", Escaped(text).c_str());
    if (state.exitHandler) state.exitHandler(70);
    std::_Exit(70);
  }
  return answer;
}

}  // namespace platform
