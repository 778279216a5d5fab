// [Extensions] entries: file types that open with an installed program, registered below
// HKEY_CLASSES_ROOT and always recorded for the uninstaller.
#pragma once

#include <string>

// Applies one [Extensions] entry: "extension*?program*?description*?icon file*?icon index", the
// extension without its dot. An entry whose empty icon index was dropped from the end counts
// with index "0"; any other field count than four or five is ignored. A key or value that
// cannot be written shows message 20, sets InstallErrors and abandons the entry.
void CreateAssociation(const std::string& entry);
