// The names the setup program knows in a setup script: the keys of [Setup] and the sections,
// with the number of fields each list section's entries must have.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pack {

// Every key the setup program reads from [Setup], plus ExistMode and NotRemove, which the
// authoring tools write and the setup program ignores.
const std::vector<std::string_view>& KnownSetupKeys();

struct ListSection {
  std::string_view name;
  std::string_view separator;
  size_t minFields;  // entries with fewer or more fields are skipped or misread
  size_t maxFields;
  std::string_view fields;  // the fields' names, for the messages
};

// [Files], [Shortcuts], [Registry], [INI], [Extensions], [Others], [Commands], [Variables].
const std::vector<ListSection>& ListSections();

// "Setup" and the list sections.
std::vector<std::string_view> KnownSectionNames();

// The known name closest to `word` (letter case aside) when it is a likely misspelling: at most
// one edit for short names, two for longer ones. Empty when none is close.
std::string NearMiss(std::string_view word, const std::vector<std::string_view>& names);

}  // namespace pack
