#include "pack/cabinet_set_plan.h"

#include <algorithm>
#include <limits>
#include <string_view>
#include <utility>

#include "pack/cabinet_blocks.h"
#include "pack/pack_error.h"
#include "platform/host/cabinet/cab_format.h"

namespace pack {
namespace {

namespace cf = cab_format;
constexpr uint64_t kBlockSize = cf::kMaxUncompressedBlock;

std::string CheckedName(std::string name) {
  if (name.size() >= cf::kMaxNameSize || name.find('\0') != std::string::npos)
    throw PackError("cabinet or disk name \"" + name + "\" is longer than 255 bytes or holds NUL");
  return name;
}

// Streams the entries' data through the compressor block by block and places each block into
// the current cabinet, splitting it when the cabinet fills up.
class SetPlanner {
 public:
  SetPlanner(const std::vector<CabinetEntry>& entries, const CabinetOptions& options)
      : entries_(entries), options_(options), compressor_(options.compression) {
    entryCost_.push_back(0);
    for (const CabinetEntry& entry : entries) {
      plan_.fileStart.push_back(total_);
      total_ += entry.data.size();
      ends_.push_back(total_);
      entryCost_.push_back(entryCost_.back() + cf::kFileSize + entry.name.size() + 1);
    }
    if (total_ >= std::numeric_limits<uint32_t>::max())
      throw PackError("the files of one cabinet set must total less than 4 GiB");
  }

  CabinetSetPlan Run() {
    OpenCabinet();
    size_t file = 0;
    while (file < entries_.size()) file = PlanFolder(file);
    ListFiles();
    return std::move(plan_);
  }

 private:
  bool Limited() const { return options_.maxCabinetSize != 0; }
  uint64_t Start(size_t file) const { return plan_.fileStart[file]; }
  uint64_t End(size_t file) const { return ends_[file]; }

  uint64_t NamesSize(size_t cabinet) const {
    return CabinetNameOf(options_, cabinet).size() + 1 + DiskNameOf(options_, cabinet).size() + 1;
  }

  // The next names are reserved in every cabinet; the last one simply ends up smaller.
  void OpenCabinet() {
    const size_t index = plan_.cabinets.size();
    plan_.cabinets.emplace_back();
    used_ = cf::kHeaderSize + (index > 0 ? NamesSize(index - 1) : 0) + NamesSize(index + 1);
  }
  bool CabinetEmpty() const { return plan_.cabinets.back().parts.empty(); }

  PackError TooSmall() const {
    return PackError("the maximum cabinet size " + std::to_string(options_.maxCabinetSize) +
                     " leaves no room for data in cabinet " +
                     std::to_string(plan_.cabinets.size()));
  }

  // The entry holding byte `at` of the data laid end to end (which must exist).
  size_t FileHolding(uint64_t at) const {
    return std::upper_bound(ends_.begin(), ends_.end(), at) - ends_.begin();
  }

  // Entries listed with the block [from, to): those with data in it, and empty ones whose
  // offset lies in it (or at its end, for the last block of all).
  std::pair<size_t, size_t> BlockFiles(uint64_t from, uint64_t to, bool last) const {
    size_t first = std::lower_bound(ends_.begin(), ends_.end(), from) - ends_.begin();
    while (first < ends_.size() && ends_[first] == from && !entries_[first].data.empty()) ++first;
    const auto& starts = plan_.fileStart;
    size_t end = std::lower_bound(starts.begin(), starts.end(), to) - starts.begin();
    while (last && end < starts.size() && starts[end] == to && entries_[end].data.empty()) ++end;
    return {first, end};
  }

  CabinetFolderPart* CurrentPart(size_t folder) {
    std::vector<CabinetFolderPart>& parts = plan_.cabinets.back().parts;
    return !parts.empty() && parts.back().folder == folder ? &parts.back() : nullptr;
  }

  // Header bytes that one more piece of a block listing the files [first, end) adds.
  uint64_t PieceCost(size_t folder, size_t first, size_t end) {
    const CabinetFolderPart* part = CurrentPart(folder);
    if (part == nullptr)
      return cf::kDataHeaderSize + cf::kFolderSize + entryCost_[end] - entryCost_[first];
    return cf::kDataHeaderSize + entryCost_[end] - entryCost_[part->endFile];
  }

  int64_t Room(size_t folder, size_t first, size_t end) {
    return static_cast<int64_t>(options_.maxCabinetSize) -
           static_cast<int64_t>(used_ + PieceCost(folder, first, end));
  }

  void AddPiece(size_t folder, size_t first, size_t end, const PlannedPiece& piece) {
    used_ += PieceCost(folder, first, end) + piece.size;
    CabinetFolderPart* part = CurrentPart(folder);
    if (part == nullptr) {
      plan_.cabinets.back().parts.push_back({folder, {}, first, end});
      part = &plan_.cabinets.back().parts.back();
    }
    part->endFile = std::max(part->endFile, end);
    part->pieces.push_back(piece);
  }

  std::string Gather(uint64_t from, uint64_t to) const {
    std::string data;
    data.reserve(to - from);
    for (size_t i = FileHolding(from); data.size() < to - from; ++i) {
      const uint64_t skip = from + data.size() - Start(i);
      data.append(entries_[i].data, skip,
                  std::min<uint64_t>(entries_[i].data.size() - skip, to - from - data.size()));
    }
    return data;
  }

  // A folder of empty files only: no data blocks.
  size_t PlanEmptyFolder(size_t folder, size_t firstFile) {
    const uint64_t cost = cf::kFolderSize + entryCost_[entries_.size()] - entryCost_[firstFile];
    if (Limited() && used_ + cost > options_.maxCabinetSize) {
      if (!CabinetEmpty()) OpenCabinet();
      if (used_ + cost > options_.maxCabinetSize) throw TooSmall();
    }
    used_ += cost;
    plan_.cabinets.back().parts.push_back({folder, {}, firstFile, entries_.size()});
    plan_.folders[folder].endFile = entries_.size();
    return entries_.size();
  }

  // Plans the folder that begins with entry firstFile; returns the first entry after it.
  size_t PlanFolder(size_t firstFile) {
    const size_t folder = plan_.folders.size();
    plan_.folders.push_back({firstFile, firstFile, Start(firstFile), {}});
    compressor_.Reset();
    uint64_t at = Start(firstFile);
    if (at == total_) return PlanEmptyFolder(folder, firstFile);

    // Where the folder ends: at the end of all data, or (once it crosses into another cabinet)
    // at the end of the last file that it carries across, so that the continued part of the
    // folder holds continued files only, as cabextract (libmspack) requires.
    uint64_t end = total_;
    bool cut = false;
    const auto crossing = [&](uint64_t boundary) {
      const uint64_t fileEnd = End(FileHolding(boundary - 1));
      if (!options_.keepFolderAcrossCabinets || fileEnd == boundary) {
        end = std::min(end, fileEnd);
        cut = true;
      }
    };
    size_t endFile = firstFile;
    while (at < end) {
      const uint64_t to = std::min(at + kBlockSize, end);
      const auto [first, last] = BlockFiles(at, to, to == total_ && !cut);
      if (Limited() && Room(folder, first, last) < 1) {
        // The cabinet is full at a block boundary.
        if (CabinetEmpty()) throw TooSmall();
        if (at > Start(firstFile)) crossing(at);
        OpenCabinet();
        continue;
      }
      PlannedBlock block;
      block.bytes = compressor_.Compress(Gather(at, to));
      block.uncompressedSize = static_cast<uint32_t>(to - at);
      std::vector<PlannedBlock>& blocks = plan_.folders[folder].blocks;
      blocks.push_back(std::move(block));
      const size_t index = blocks.size() - 1;
      uint32_t offset = 0;
      uint32_t remaining = static_cast<uint32_t>(blocks.back().bytes.size());
      while (true) {
        const int64_t room = Limited() ? Room(folder, first, last) : INT64_MAX;
        if (room >= remaining) {
          AddPiece(folder, first, last, {index, offset, remaining, true});
          break;
        }
        if (room < 1) throw TooSmall();
        AddPiece(folder, first, last, {index, offset, static_cast<uint32_t>(room), false});
        offset += static_cast<uint32_t>(room);
        remaining -= static_cast<uint32_t>(room);
        crossing(to);
        OpenCabinet();
      }
      endFile = last;
      at = to;
    }
    plan_.folders[folder].endFile = endFile;
    return endFile;
  }

  void ListFiles() {
    plan_.firstCabinet.assign(entries_.size(), SIZE_MAX);
    plan_.lastCabinet.assign(entries_.size(), 0);
    for (size_t c = 0; c < plan_.cabinets.size(); ++c) {
      for (const CabinetFolderPart& part : plan_.cabinets[c].parts) {
        for (size_t f = part.firstFile; f < part.endFile; ++f) {
          plan_.firstCabinet[f] = std::min(plan_.firstCabinet[f], c);
          plan_.lastCabinet[f] = c;
        }
      }
    }
  }

  const std::vector<CabinetEntry>& entries_;
  const CabinetOptions& options_;
  FolderCompressor compressor_;
  CabinetSetPlan plan_;
  uint64_t total_ = 0;
  std::vector<uint64_t> ends_;       // each entry's end offset in the data laid end to end
  std::vector<uint64_t> entryCost_;  // prefix sums of the CFFILE record sizes
  uint64_t used_ = 0;                // bytes of the current cabinet so far
};

uint64_t SingleCabinetSize(const CabinetSetPlan& plan, const std::vector<CabinetEntry>& entries) {
  uint64_t size = cf::kHeaderSize + cf::kFolderSize * plan.folders.size();
  for (const CabinetEntry& entry : entries) size += cf::kFileSize + entry.name.size() + 1;
  for (const PlannedFolder& folder : plan.folders)
    for (const PlannedBlock& block : folder.blocks)
      size += cf::kDataHeaderSize + block.bytes.size();
  return size;
}

}  // namespace

std::string CabinetNameOf(const CabinetOptions& options, size_t index) {
  return CheckedName(options.cabinetName ? options.cabinetName(index)
                                         : "cab" + std::to_string(index + 1) + ".cab");
}

std::string DiskNameOf(const CabinetOptions& options, size_t index) {
  return CheckedName(options.diskName ? options.diskName(index) : std::string());
}

CabinetSetPlan PlanCabinetSet(const std::vector<CabinetEntry>& entries,
                              const CabinetOptions& options) {
  if (options.maxCabinetSize == 0) return SetPlanner(entries, options).Run();
  // A set reserves room for the next cabinet's names in each cabinet; data that fit into one
  // cabinet without that room stay in one.
  CabinetOptions unlimited = options;
  unlimited.maxCabinetSize = 0;
  CabinetSetPlan single = SetPlanner(entries, unlimited).Run();
  if (SingleCabinetSize(single, entries) <= options.maxCabinetSize) return single;
  return SetPlanner(entries, options).Run();
}

}  // namespace pack
