// Language files: listing them, choosing one, applying it to the form, reading its texts.
// This header is the subsystem's interface; LoadLanguages comes from language_load.h.
#pragma once

#include <string>

#include "text/language_load.h"

// Opens the file as the run's language table and sets the window caption, the task-bar title,
// the language page texts and the Back, Next and Cancel captions.
void ApplyLanguage(const std::string& path);
// The raw text of the language table; empty when missing.
std::string ReadText(const std::string& section, int number);
// The language box's selection changed: switch to that language.
void ComboLngChange();
