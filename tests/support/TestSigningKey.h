// An Ed25519 key pair made afresh for a test, to sign files as the program's maker does.
#pragma once

#include <string>

class TestSigningKey {
 public:
  // Fails the running test when no key could be made.
  TestSigningKey();
  ~TestSigningKey();
  TestSigningKey(const TestSigningKey&) = delete;
  TestSigningKey& operator=(const TestSigningKey&) = delete;

  // The 32 bytes of the public key in hexadecimal, as the build setting takes it.
  std::string PublicKeyHex() const;
  // The 64-byte detached signature of `data`.
  std::string Sign(const std::string& data) const;

 private:
  void* key_ = nullptr;  // EVP_PKEY
};
