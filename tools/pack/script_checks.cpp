#include "pack/script_checks.h"

#include <algorithm>
#include <map>
#include <optional>

#include "pack/ini_value.h"
#include "pack/pack_error.h"
#include "pack/script_names.h"

namespace pack {
namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Warnings with their lines, sorted by line at the end.
using Findings = std::vector<std::pair<int, std::string>>;

std::pair<int, std::string> Warning(const ScriptContext& context, int line,
                                    const std::string& what) {
  return {line, ErrorAt(context.fileName, line, what).what()};
}

std::string Suggestion(const std::string& word, const std::vector<std::string_view>& names,
                       const std::string& open, const std::string& close) {
  const std::string near = NearMiss(word, names);
  if (near.empty()) return "the setup program does not read it";
  return "did you mean " + open + near + close + "?";
}

// Index of the first section of each known name, by lower-case name.
std::map<std::string, size_t> FirstSections(const SetupScript& script, const ScriptContext& context,
                                            Findings& warnings) {
  const std::vector<std::string_view> known = KnownSectionNames();
  std::map<std::string, size_t> first;
  for (size_t i = 0; i < script.Sections().size(); ++i) {
    const ScriptSection& section = script.Sections()[i];
    const bool isKnown = std::any_of(known.begin(), known.end(), [&](std::string_view name) {
      return SameName(name, section.name);
    });
    if (!isKnown) {
      warnings.push_back(Warning(
          context, section.line,
          "unknown section [" + section.name + "]: " + Suggestion(section.name, known, "[", "]")));
      continue;
    }
    auto [at, inserted] = first.emplace(Lower(section.name), i);
    // A second [Setup] or [Files] is refused by the parser; a second list section is skipped.
    if (!inserted) {
      warnings.push_back(Warning(context, section.line,
                                 "a second [" + section.name + "] section (the first is at line " +
                                     std::to_string(script.Sections()[at->second].line) +
                                     "); the setup program reads only the first, merge them"));
    }
  }
  return first;
}

void CheckSetupKeys(const SetupScript& script, const ScriptContext& context, size_t setup,
                    Findings& warnings) {
  const std::vector<std::string_view>& known = KnownSetupKeys();
  std::map<std::string, int> seen;
  for (const ScriptKey& key : script.Keys()) {
    if (key.section != setup) continue;
    const bool isKnown = std::any_of(
        known.begin(), known.end(), [&](std::string_view name) { return SameName(name, key.key); });
    if (!isKnown) {
      warnings.push_back(
          Warning(context, key.line,
                  "unknown [Setup] key " + key.key + ": " + Suggestion(key.key, known, "", "")));
      continue;
    }
    auto [at, inserted] = seen.emplace(Lower(key.key), key.line);
    if (!inserted) {
      warnings.push_back(Warning(context, key.line,
                                 "[Setup] key " + key.key + " repeats line " +
                                     std::to_string(at->second) +
                                     "; the setup program reads only the first"));
    }
  }
}

void CheckFieldCounts(const SetupScript& script, const ScriptContext& context,
                      const std::map<std::string, size_t>& first, Findings& warnings) {
  for (const ListSection& list : ListSections()) {
    auto found = first.find(Lower(std::string(list.name)));
    if (found == first.end()) continue;
    for (const ScriptKey& key : script.Keys()) {
      if (key.section != found->second) continue;
      const size_t count = CountFields(key.value, std::string(list.separator));
      // [Files] entries short of four fields are refused while the script is read.
      if (count >= list.minFields && count <= list.maxFields) continue;
      if (list.name == "Files" && count < list.minFields) continue;
      std::string expected = std::to_string(list.minFields);
      if (list.maxFields != list.minFields) expected += " or " + std::to_string(list.maxFields);
      warnings.push_back(Warning(context, key.line,
                                 "[" + std::string(list.name) + "] entry \"" + key.key + "\" has " +
                                     std::to_string(count) + (count == 1 ? " field" : " fields") +
                                     " where the setup program expects " + expected + " (" +
                                     std::string(list.fields) + ")"));
    }
  }
}

bool HasText(const ScriptContext& context, const std::string& lowerName) {
  return std::any_of(context.texts.begin(), context.texts.end(),
                     [&](const std::string& name) { return Lower(name) == lowerName; });
}

// A page switched on needs, for every language, its own text or the default one.
void CheckPageTexts(const SetupScript& script, const ScriptContext& context, Findings& warnings) {
  struct Page {
    const char* key;
    char prefix;
    const char* page;
  };
  for (const Page& page :
       {Page{"DialogLicense", 'L', "licence"}, Page{"DialogReadme", 'R', "readme"}}) {
    const ScriptKey* key = script.Find("Setup", page.key);
    if (!key || !IniBool(key->value, false)) continue;
    const std::string fallback = std::string(1, page.prefix) + "(Default).rtf";
    if (HasText(context, Lower(fallback))) continue;
    std::vector<std::string> missing;
    for (const std::string& language : context.languages) {
      const std::string own = std::string(1, page.prefix) + language + ".rtf";
      if (!HasText(context, Lower(own))) missing.push_back(own);
    }
    if (missing.empty()) continue;
    std::string names;
    for (const std::string& name : missing) names += (names.empty() ? "" : ", ") + name;
    warnings.push_back(Warning(context, key->line,
                               std::string(page.key) + " shows the " + page.page +
                                   " page, but there is neither " + names + " nor " + fallback +
                                   ": the page stays empty"));
  }
}

void CheckDefaultLanguage(const SetupScript& script, const ScriptContext& context,
                          Findings& warnings) {
  if (context.languages.empty()) return;
  const ScriptKey* key = script.Find("Setup", "DefaultLanguage");
  const std::string name = key ? key->value : "English";
  if (std::find(context.languages.begin(), context.languages.end(), name) !=
      context.languages.end()) {
    return;
  }
  std::string files;
  for (const std::string& language : context.languages) {
    files += (files.empty() ? "" : ", ") + language + ".lng";
  }
  const std::string what = key ? "DefaultLanguage=" + name + " names no language file"
                               : "DefaultLanguage is not set, so it is English, and there is no "
                                 "English.lng";
  warnings.push_back(Warning(context, key ? key->line : 0,
                             what + " (there is " + files +
                                 "; the name must match a file's name exactly, letter case "
                                 "included): no language is preselected"));
}

}  // namespace

size_t CountFields(const std::string& value, const std::string& separator) {
  if (value.empty()) return 0;
  size_t count = 1;
  for (size_t at = value.find(separator); at != std::string::npos;
       at = value.find(separator, at + separator.size())) {
    if (at + separator.size() < value.size()) ++count;
  }
  return count;
}

std::vector<std::string> CheckScript(const SetupScript& script, const ScriptContext& context) {
  Findings warnings;
  const std::map<std::string, size_t> first = FirstSections(script, context, warnings);
  if (auto setup = first.find("setup"); setup != first.end()) {
    CheckSetupKeys(script, context, setup->second, warnings);
  }
  CheckFieldCounts(script, context, first, warnings);
  CheckPageTexts(script, context, warnings);
  CheckDefaultLanguage(script, context, warnings);
  // In file order, so the messages read like a walk through the script.
  std::stable_sort(warnings.begin(), warnings.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::string> texts;
  for (auto& warning : warnings) texts.push_back(std::move(warning.second));
  return texts;
}

}  // namespace pack
