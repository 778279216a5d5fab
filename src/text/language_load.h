// The language files of the temporary folder and the choice among them at start-up.
#pragma once

// Fills the language box, chooses the language (default or detected) and applies it. Stops as
// a corrupted setup when the temporary folder holds no language file.
void LoadLanguages();
