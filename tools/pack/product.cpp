#include "pack/product.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <string_view>

#include "pack/file_io.h"
#include "pack/pack_error.h"

namespace pack {

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool EndsWith(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Regular files at the top level of the folder, keyed by lower-case name.
std::multimap<std::string, fs::path> ListFolder(const fs::path& folder) {
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    throw ErrorAt(folder.string(), 0, "the product folder does not exist or is not a folder");
  }
  std::multimap<std::string, fs::path> files;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->is_regular_file(ec)) files.emplace(Lower(it->path().filename().string()), it->path());
  }
  if (ec) throw ErrorAt(folder.string(), 0, "cannot list the folder: " + ec.message());
  return files;
}

// On Windows such files would overwrite each other in the temporary folder.
void RefuseCaseTwins(const std::multimap<std::string, fs::path>& files, const fs::path& folder,
                     const std::string& lowerName) {
  auto [first, last] = files.equal_range(lowerName);
  if (first == last || std::next(first) == last) return;
  throw ErrorAt((folder / first->second.filename()).string(), 0,
                "two files differ only in letter case: " + first->second.filename().string() +
                    " and " + std::next(first)->second.filename().string());
}

fs::path FindRequired(const std::multimap<std::string, fs::path>& files, const fs::path& folder,
                      const std::string& name, const std::string& role) {
  auto found = files.find(name);
  if (found == files.end()) throw ErrorAt((folder / name).string(), 0, "missing; " + role);
  RefuseCaseTwins(files, folder, name);
  return found->second;
}

bool IsTextOfPage(const std::string& lowerName) {
  return lowerName.size() > 5 && (lowerName[0] == 'l' || lowerName[0] == 'r') &&
         EndsWith(lowerName, ".rtf");
}

void AddSorted(std::vector<ProductFile>& to, std::vector<ProductFile> files) {
  std::sort(files.begin(), files.end(),
            [](const ProductFile& a, const ProductFile& b) { return a.name < b.name; });
  to.insert(to.end(), files.begin(), files.end());
}

}  // namespace

Product ScanProduct(const fs::path& folder) {
  const std::multimap<std::string, fs::path> files = ListFolder(folder);
  Product product;
  product.folder = folder;
  product.script = FindRequired(files, folder, kScriptName, "the setup script is required");

  std::vector<ProductFile> languages;
  std::vector<ProductFile> texts;
  for (const auto& [lower, path] : files) {
    const bool language = EndsWith(lower, ".lng") && lower.size() > 4;
    if (language || IsTextOfPage(lower)) RefuseCaseTwins(files, folder, lower);
    const std::string name = path.filename().string();
    if (language) {
      languages.push_back({name, path});
      product.languages.push_back(name.substr(0, name.size() - 4));
    } else if (IsTextOfPage(lower)) {
      texts.push_back({name, path});
      product.texts.push_back(name);
    }
  }
  if (languages.empty()) {
    throw ErrorAt(folder.string(), 0,
                  "no language file (*.lng); the setup program needs at least one");
  }

  AddSorted(product.supportFiles, std::move(languages));
  for (const char* picture : {kWizardPictureName, kHeaderPictureName}) {
    const fs::path path = FindRequired(files, folder, picture, "both wizard pictures are required");
    const BitmapInfo info = ReadBitmapInfo(ReadWholeFile(path), path.string());
    (std::string_view(picture) == kWizardPictureName ? product.wizardPicture
                                                     : product.headerPicture) = info;
    product.supportFiles.push_back({picture, path});
  }
  AddSorted(product.supportFiles, std::move(texts));
  return product;
}

fs::path ResolveSource(const fs::path& folder, const std::string& source) {
  std::string relative = source;
  std::replace(relative.begin(), relative.end(), '\\', '/');
  if (!relative.empty() && relative[0] == '/') return fs::path(relative);
  return folder / fs::path(relative);
}

}  // namespace pack
