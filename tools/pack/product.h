// The product folder: what goes into the setup cabinet, and where the files to install are.
//
// The setup cabinet takes, from the top level of the folder: setup.ini, every *.lng language
// file, vqwizard.bmp and vqheader.bmp (both required), and the licence and readme texts
// L*.rtf and R*.rtf ("L" or "R" followed by a language name or "(Default)"). Names match
// without regard to case, as they would on Windows; everything else at the top level is left
// alone unless the script's [Files] section names it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "pack/bitmap_info.h"

namespace pack {

inline constexpr char kScriptName[] = "setup.ini";
inline constexpr char kWizardPictureName[] = "vqwizard.bmp";
inline constexpr char kHeaderPictureName[] = "vqheader.bmp";

struct ProductFile {
  std::string name;  // name inside the setup cabinet
  std::filesystem::path path;
};

struct Product {
  std::filesystem::path folder;
  std::filesystem::path script;
  // Setup-cabinet files besides the script: languages, the two pictures, then the RTF texts,
  // each group sorted by name.
  std::vector<ProductFile> supportFiles;
  std::vector<std::string> languages;  // base names of the language files
  std::vector<std::string> texts;      // names of the licence and readme files
  BitmapInfo wizardPicture;
  BitmapInfo headerPicture;
};

// The sizes at which the wizard shows its pictures: it stretches them to these.
inline constexpr int32_t kWizardPictureWidth = 500;
inline constexpr int32_t kWizardPictureHeight = 314;
inline constexpr int32_t kHeaderPictureWidth = 498;
inline constexpr int32_t kHeaderPictureHeight = 55;

// Throws PackError naming the folder or file when the folder does not exist, setup.ini, a
// picture or every language file is missing, a name is ambiguous (two files differing only in
// case), or a picture is not a BMP file the setup program can load.
Product ScanProduct(const std::filesystem::path& folder);

// The file named by a [Files] source field: relative to the product folder unless it starts
// with "/"; backslashes count as folder separators.
std::filesystem::path ResolveSource(const std::filesystem::path& folder, const std::string& source);

}  // namespace pack
