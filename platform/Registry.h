// A small stand-in for the old desktop's registry: string values under a root, a key path
// and a value name, kept for the run. The Linux desktop has none of the old keys, so a read
// answers "absent" unless the program (or a test) wrote the value during the run. Key paths
// and names compare without regard to ASCII case; "\" and "/" both separate key parts.
#pragma once

#include <string>

enum class TRegRoot { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

// False (value untouched) when the value is absent.
bool RegistryReadString(TRegRoot root, const std::string& key, const std::string& name,
                        std::string& value);
void RegistryWriteString(TRegRoot root, const std::string& key, const std::string& name,
                         const std::string& value);
// Removes the key with its values and sub-keys.
void RegistryDeleteKey(TRegRoot root, const std::string& key);
