// The file phase of an installation run: each [Files] entry's cabinet copied out of the setup
// file and extracted to its destination.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "install/message_pacer.h"
#include "platform/file_system.h"

class TFilePhase {
 public:
  // Opens the setup file; a failure to open it ends the run like a failed read.
  TFilePhase();
  ~TFilePhase();
  TFilePhase(const TFilePhase&) = delete;
  TFilePhase& operator=(const TFilePhase&) = delete;

  // Processes entries 0 to filesCount - 1, then closes the setup file.
  void Install(int32_t filesCount);

  // Folders created for entries recorded for removal, outermost first, in creation order.
  const std::vector<std::string>& CreatedFolders() const { return createdFolders_; }
  // Destinations extracted for entries recorded for removal, in [Files] order.
  const std::vector<std::string>& InstalledFiles() const { return installedFiles_; }

 private:
  struct Entry {
    std::string destination;
    int32_t storedSize = 0;
    std::string existMode;
    bool recorded = false;
  };
  void ProcessEntry(int32_t number);
  Entry ReadEntry(const std::string& value);
  bool ShouldExtract(const Entry& entry);
  void CreateFolders(const Entry& entry);
  void CopyCabinet(const Entry& entry);
  bool ExtractCabinet(const Entry& entry, bool existedBefore);
  void Skip(const Entry& entry);
  [[noreturn]] void FailFileCab();
  void CloseFiles();

  platform::FileHandle setupFile_ = platform::kInvalidFile;
  int64_t setupSize_ = -1;  // unknown when the setup file could not be opened
  std::string fileCab_;
  platform::FileHandle fileCabHandle_ = platform::kInvalidFile;  // open for the whole phase
  int64_t fileCabSize_ = 0;  // what the temporary cabinet holds now
  int32_t number_ = 0;
  int32_t count_ = 0;
  std::vector<std::string> createdFolders_;
  std::vector<std::string> installedFiles_;
  // Folders seen to exist or created during this phase, as the entries spell them.
  std::unordered_set<std::string> existingFolders_;
  TMessagePacer pacer_;
};
