// The parsed image of an INI file: every line exactly as it stands, so that the file can be
// written back byte for byte, and an index from section and key names to their first
// occurrence, so that a lookup costs the same for the first key as for the twenty-thousandth.
//
// The reading rules are those of the system's profile-string service, which is what the setup
// script, the language files and the uninstall record were written for:
// - lines end with CR LF, LF or a lone CR; blanks (space, tab, CR, VT, FF, Ctrl-Z) around a line
//   do not count; a line whose first character is ';' is a comment;
// - "[name]" opens a section (text after the last ']' is ignored); any other line with '=' is a
//   key line: the name before the first '=', the value after it, blanks around both removed; a
//   line without '=' is no key (not listed, not read); a NUL byte ends a name;
// - a UTF-8 byte-order mark at the start of the file belongs to no line (and is kept);
// - names compare without regard to case (ASCII letters) and blanks around a requested name do
//   not count; the first of repeated sections, and the first of repeated keys in it, is the one
//   read and written; later repeats are invisible;
// - lines before the first section header belong to a section with the empty name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Text: a line that is none of the others (no '=' in it); kept, but no key.
enum class IniLineKind : uint8_t { Blank, Comment, Header, Key, Text };
enum class IniEol : uint8_t { None, Lf, CrLf, Cr };

struct IniLine {
  std::string text;  // without its terminator
  IniEol eol = IniEol::None;
  IniLineKind kind = IniLineKind::Blank;
  // Header: the section name; key line: the key name. Offsets into text.
  uint32_t nameBegin = 0, nameEnd = 0;
  // Key line: the value without surrounding blanks, quotes not yet removed.
  uint32_t valueBegin = 0, valueEnd = 0;

  std::string_view Name() const;
  std::string_view RawValue() const;
};

// The line classified by the rules above.
IniLine ParseIniLine(std::string text, IniEol eol);

// Hash and equality of names without regard to ASCII case; transparent, so that a lookup needs
// no copy of the name.
struct IniNameHash {
  using is_transparent = void;
  size_t operator()(std::string_view name) const;
};
struct IniNameEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const;
};

class IniText {
 public:
  static constexpr size_t kMaxValueLength = 2047;
  // The key listing goes through a buffer of this many bytes: the names with their
  // terminators, and one more terminator at the end.
  static constexpr size_t kListingLimit = 16384;

  IniText();
  static IniText Parse(std::string_view bytes);

  // The value as the service returns it: one pair of matching surrounding quotes removed, cut
  // at a NUL byte and to kMaxValueLength characters. A missing section or key yields the
  // default, cut likewise and without its trailing spaces.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t defaultValue) const;
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
  // Key names in file order, repeats included, as far as they fit into the listing buffer; a
  // name that does not fit whole ends the list, and so does an empty name (the caller of the
  // service takes an empty string for the end of the buffer).
  std::vector<std::string> ReadSection(std::string_view section) const;
  // Every key name of the section in file order, without the listing buffer's limit: for files
  // this program owns, where a cut listing would make it overwrite keys it did not see.
  std::vector<std::string> ReadSectionComplete(std::string_view section) const;
  // The key is among the names that ReadSection lists.
  bool ValueExists(std::string_view section, std::string_view key) const;

  // What a write did to the text.
  struct Change {
    enum Kind {
      kRejected,   // nothing written: a key needs a name
      kUnchanged,  // the key already had this exact value
      kAppended,   // one key line added at the very end; nothing before it changed except the
                   // terminator added to a last line that had none
      kRewritten,  // anything else
    } kind = kRejected;
    // kAppended: the bytes added at the end, and where the new line starts within them.
    std::string appended;
    size_t lineOffset = 0;
  };
  // Sets the value of the first occurrence of the key in the first section of that name, keeping
  // the line's text up to the value; or adds "key=value" after the section's last key line; or
  // adds "[section]" and the key line at the end of the text. Added lines end with CR LF. A name
  // or value that would not read back as that key (line breaks, '=' in the key, ...) is written
  // as it is and the whole text parsed again, as the service does.
  Change Write(std::string_view section, std::string_view key, std::string_view value);

  std::string Serialize() const;
  size_t Size() const { return size_; }  // bytes of Serialize()

 private:
  struct KeyEntry {
    uint32_t line;         // body index of the first key line of the name
    uint64_t listedBytes;  // the section's key names through this line, with terminators
  };
  using KeyIndex = std::unordered_map<std::string, KeyEntry, IniNameHash, IniNameEqual>;
  struct Section {
    bool hasHeader = false;  // false only for the lines before the first header
    IniLine header;
    std::vector<IniLine> body;
    KeyIndex keys;  // name -> body index of its first key line
    int64_t lastKeyLine = -1;
    int64_t firstNameless = -1;  // body index of the first key line with an empty name
    uint64_t namesBytes = 0;     // every non-empty key name with its terminator
  };

  Change ReplaceValue(IniLine& line, std::string_view value);
  Change InsertKey(Section& section, const std::string& keyName, std::string_view value);
  Change AddSection(std::string_view sectionName, const std::string& keyName,
                    std::string_view value);
  void AddLine(IniLine line);
  Section* FindSection(std::string_view name);
  const Section* FindSection(std::string_view name) const;
  const IniLine* FindKeyLine(std::string_view section, std::string_view key) const;
  IniLine* LastLine();
  void Reparse();

  std::vector<Section> sections_;
  std::unordered_map<std::string, uint32_t, IniNameHash, IniNameEqual> sectionIndex_;
  bool byteOrderMark_ = false;
  size_t size_ = 0;
};
