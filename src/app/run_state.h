// The run state: created by start-up, shared by the subsystems, alive until the process ends.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/ini_file.h"
#include "cab/cab_st_comps.h"

class FormView;
class TUninstallRecord;

// The payload start that the authoring tool records for setup files built from this program.
constexpr int32_t DefaultPayloadOffset = 250880;

struct RunState {
  std::string TempFolder;         // full path, no trailing backslash
  bool TempFolderCreated = false; // only a folder this run created is ever deleted
  int32_t PayloadPos = 0;
  std::unique_ptr<TSTCabReader> CabReader;
  std::unique_ptr<IniFile> SetupScript;
  std::unique_ptr<IniFile> LanguageTable;  // the chosen language file
  FormView* Form = nullptr;                // the wizard form's controls
  std::string SetupTitle;
  std::vector<std::string> UserVariables;  // "NAME?VALUE"
  std::array<bool, 10> PageEnabled = {};   // pages 1 to 9; index 0 unused
  int CurrentPage = 0;
  bool UninstallEnabled = false;
  bool CancelRequested = false;
  bool FirstActivation = true;
  bool InstallErrors = false;
  bool RecordFailureReported = false;  // the box about the uninstall record, once per run
  std::unique_ptr<TUninstallRecord> UninstallRecord;  // open while the installation runs

  RunState();
  ~RunState();
};

RunState& Run();
