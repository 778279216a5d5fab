#include "app/run_state.h"

#include "install/uninstall_record.h"

RunState::RunState() = default;
RunState::~RunState() = default;

RunState& Run() {
  static RunState state;
  return state;
}
