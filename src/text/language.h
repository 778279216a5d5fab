// Language files: listing them, choosing one, applying it to the form, reading its texts.
#pragma once

#include <string>

// Fills the language box, chooses the language (default or detected) and applies it. Stops as
// a corrupted setup when the temporary folder holds no language file.
void LoadLanguages();
// Opens the file as the run's language table and sets the window caption, the task-bar title,
// the language page texts and the Back, Next and Cancel captions.
void ApplyLanguage(const std::string& path);
// The raw text of the language table; empty when missing.
std::string ReadText(const std::string& section, int number);
// The language box's selection changed: switch to that language.
void ComboLngChange();
