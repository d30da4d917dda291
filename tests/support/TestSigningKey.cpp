#include "tests/support/TestSigningKey.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>

TestSigningKey::TestSigningKey() {
  EVP_PKEY_CTX* context = EVP_PKEY_CTX_new_id(EVP_PKEY_ED25519, nullptr);
  EVP_PKEY* key = nullptr;
  if (!context || EVP_PKEY_keygen_init(context) != 1 || EVP_PKEY_keygen(context, &key) != 1)
    ADD_FAILURE() << "no Ed25519 key could be made";
  EVP_PKEY_CTX_free(context);
  key_ = key;
}

TestSigningKey::~TestSigningKey() { EVP_PKEY_free(static_cast<EVP_PKEY*>(key_)); }

std::string TestSigningKey::PublicKeyHex() const {
  unsigned char raw[32];
  size_t size = sizeof raw;
  if (!key_ || EVP_PKEY_get_raw_public_key(static_cast<EVP_PKEY*>(key_), raw, &size) != 1)
    return "";
  static const char digits[] = "0123456789abcdef";
  std::string hex;
  for (size_t i = 0; i < size; ++i) {
    hex += digits[raw[i] >> 4];
    hex += digits[raw[i] & 15];
  }
  return hex;
}

std::string TestSigningKey::Sign(const std::string& data) const {
  std::string signature(64, '\0');
  size_t size = signature.size();
  EVP_MD_CTX* context = EVP_MD_CTX_new();
  const bool signed_ =
      key_ && context &&
      EVP_DigestSignInit(context, nullptr, nullptr, nullptr, static_cast<EVP_PKEY*>(key_)) == 1 &&
      EVP_DigestSign(context, reinterpret_cast<unsigned char*>(signature.data()), &size,
                     reinterpret_cast<const unsigned char*>(data.data()), data.size()) == 1;
  EVP_MD_CTX_free(context);
  if (!signed_) ADD_FAILURE() << "signing failed";
  return signed_ ? signature.substr(0, size) : std::string();
}
