// The SQL Server edition present, as a text whose first four characters are its year.
#pragma once

#include <string>

// "2000 Compact" (also when nothing is found), "2005 Compact", "2005 Express" or
// "2008 Express"; of the keys that are present the last one tested decides.
std::string GetSQLServerEdition();
