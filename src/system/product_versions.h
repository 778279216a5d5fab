// Installed versions of .NET Framework, Acrobat Reader, the Java runtime and Internet Explorer,
// as the setup script's minimum versions are compared with them.
#pragma once

#include <string>
#include <vector>

// Three characters "d.d" of the highest version subkey; "0.0" when none.
std::string GetDotNetVersion();
// "5.0" without the product key, "0.0" when the key has no version subkey.
std::string GetAcrobatReaderVersion();
// "1.0" without the product key, "0.0" when the key has no version subkey.
std::string GetJavaVersion();
// The Version value whole, or empty.
std::string GetIEVersion();

// The highest of the .NET subkey names ("v2.0.50727" counts as 2.0; "v4" never counts); of
// equal values the first listed wins. "0.0" when none qualifies.
std::string BestDotNetVersion(const std::vector<std::string>& subkeys);
// The same for subkey names that begin with the number itself ("1.6.0_20" counts as 1.6,
// "10.0" never counts).
std::string BestPlainVersion(const std::vector<std::string>& subkeys);
