// Files built into the program (the build's resource lists), read by path such as
// "coins/coin_spin.gif".
#pragma once

#include <string>

// The bytes of the built-in file; raises EResNotFound "Resource <path> not found" when the
// program has none of that path.
std::string ResourceBytes(const std::string& path);
