// The product's setup.ini, parsed just far enough to fill in what only the packer knows: the
// stored cabinet size of every [Files] entry and [Setup] FilesCount. Every other byte of the
// script, line endings and comments included, is written back as the author wrote it.
//
// Reading follows the setup program's INI rules: section and key names compare without regard
// to case, blanks and tabs around keys and values do not count, lines starting with ";" are
// comments. Only the first [Setup] and [Files] sections are seen by the setup program, so a
// second one is refused rather than silently ignored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pack {

// One [Files] entry as the author wrote it: "destination?source?existmode?removal".
struct FilesEntry {
  int line = 0;             // 1-based line number in setup.ini
  std::string key;          // the key as written (renumbered on rewrite)
  std::string destination;  // field 1, such as <InstallDir>\docs\manual.txt
  std::string source;       // field 2 without surrounding blanks: path in the product folder
  size_t fieldCount = 0;    // as the setup program splits the value
};

// A section header, with its name as written between the brackets.
struct ScriptSection {
  int line = 0;
  std::string name;
};

// A "key=value" line of any section, the value as the setup program reads it.
struct ScriptKey {
  int line = 0;
  size_t section = 0;  // index into Sections()
  std::string key;
  std::string value;
};

class SetupScript {
 public:
  // Throws PackError naming `fileName` and the line for a malformed [Files] entry or a
  // repeated [Setup] or [Files] section.
  static SetupScript Parse(std::string text, const std::string& fileName);

  // The [Files] entries in file order.
  const std::vector<FilesEntry>& Entries() const { return entries_; }

  // Every section header and every key line, in file order.
  const std::vector<ScriptSection>& Sections() const { return sections_; }
  const std::vector<ScriptKey>& Keys() const { return keys_; }

  // The key the setup program reads: the first one of that name in the first section of that
  // name (names compared without regard to case), or nullptr.
  const ScriptKey* Find(const std::string& section, const std::string& key) const;

  // The script with the [Files] keys renumbered "0".."n-1" in file order, the source field of
  // entry i replaced by storedSizes[i], and [Setup] FilesCount set to n (added at the end of
  // the [Setup] section, or in a new [Setup] section at the end of the file, when missing).
  // storedSizes holds one size per entry. With `filesSize`, [Setup] FilesSize gets that value
  // when the script leaves it out or empty; a value the author wrote is kept.
  std::string Rewrite(const std::vector<uint64_t>& storedSizes,
                      std::optional<uint64_t> filesSize = std::nullopt) const;

 private:
  struct Line {
    std::string content;  // without the line ending
    std::string ending;   // "\r\n", "\n" or empty for an unterminated last line
  };
  struct Span {
    size_t line = 0;
    size_t begin = 0;
    size_t length = 0;
  };
  struct EntrySpans {
    Span key;
    Span source;
  };

  std::vector<Line> lines_;
  std::string newline_ = "\r\n";  // the script's own line ending, for lines the packer adds
  std::vector<FilesEntry> entries_;
  std::vector<EntrySpans> entrySpans_;
  bool hasSetupSection_ = false;
  size_t setupLastLine_ = 0;            // header or last key line of [Setup]
  std::vector<Span> filesCountValues_;  // value spans of FilesCount in [Setup]
  std::optional<Span> emptyFilesSize_;  // the value span of a first FilesSize left empty
  bool hasFilesSize_ = false;           // a FilesSize with a value
  std::vector<ScriptSection> sections_;
  std::vector<ScriptKey> keys_;
};

// The name under which the per-file cabinet stores the file: the last component of the
// destination, after its last backslash. The setup program extracts into the destination's
// folder under the stored name, so that name must be a plain Windows file name; throws
// PackError naming `fileName` and the entry's line otherwise.
std::string StoredFileName(const FilesEntry& entry, const std::string& fileName);

}  // namespace pack
