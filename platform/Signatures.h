// Checks that keep a fetched program from being installed unless its maker signed it and it
// can run here.
#pragma once

#include <string>

// True when `signature` (64 bytes) is an Ed25519 signature of `data` by the key whose 32 raw
// bytes `publicKeyHex` spells in hexadecimal (64 digits, either case). An empty or malformed
// key verifies nothing.
bool VerifyEd25519Signature(const std::string& data, const std::string& signature,
                            const std::string& publicKeyHex);

// True when `bytes` begin as an ELF program (fixed or position-independent) of the running
// program's class, byte order and machine.
bool IsExecutableForThisMachine(const std::string& bytes);
