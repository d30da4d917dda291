// Ed25519 on OpenSSL's libcrypto, loaded with the first check; ELF headers compared with the
// running program's own.
#include "platform/Signatures.h"

#include <elf.h>
#include <openssl/evp.h>
#include <openssl/opensslv.h>

#include <cstring>
#include <fstream>
#include <memory>

#include "platform/Libraries.h"

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool DecodeHex(const std::string& hex, unsigned char* out, size_t size) {
  if (hex.size() != 2 * size) return false;
  for (size_t i = 0; i < size; ++i) {
    const int high = HexDigit(hex[2 * i]);
    const int low = HexDigit(hex[2 * i + 1]);
    if (high < 0 || low < 0) return false;
    out[i] = static_cast<unsigned char>(high * 16 + low);
  }
  return true;
}

// What identifies a program's platform: class and byte order from the identification bytes,
// then the object type and machine, both in that byte order.
struct ElfIdentity {
  unsigned char elfClass = 0;
  unsigned char byteOrder = 0;
  unsigned type = 0;
  unsigned machine = 0;
};

bool ReadIdentity(const std::string& bytes, ElfIdentity& id) {
  // e_ident (16 bytes), e_type (2), e_machine (2): the same place in 32- and 64-bit headers.
  if (bytes.size() < EI_NIDENT + 4 || std::memcmp(bytes.data(), ELFMAG, SELFMAG) != 0) return false;
  const auto at = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
  id.elfClass = at(EI_CLASS);
  id.byteOrder = at(EI_DATA);
  const bool little = id.byteOrder == ELFDATA2LSB;
  if (!little && id.byteOrder != ELFDATA2MSB) return false;
  const auto half = [&](size_t i) {
    return little ? at(i) | at(i + 1) << 8 : at(i) << 8 | at(i + 1);
  };
  id.type = static_cast<unsigned>(half(EI_NIDENT));
  id.machine = static_cast<unsigned>(half(EI_NIDENT + 2));
  return true;
}

const ElfIdentity* OwnIdentity() {
  static const std::unique_ptr<ElfIdentity> own = [] {
    std::ifstream in("/proc/self/exe", std::ios::binary);
    std::string head(EI_NIDENT + 4, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    auto id = std::make_unique<ElfIdentity>();
    if (!in || !ReadIdentity(head, *id)) id.reset();
    return id;
  }();
  return own.get();
}

// The functions of libcrypto the check calls; all null when it cannot be loaded.
struct Crypto {
  decltype(&EVP_PKEY_new_raw_public_key) new_raw_public_key = nullptr;
  decltype(&EVP_PKEY_free) pkey_free = nullptr;
  decltype(&EVP_MD_CTX_new) md_ctx_new = nullptr;
  decltype(&EVP_MD_CTX_free) md_ctx_free = nullptr;
  decltype(&EVP_DigestVerifyInit) digest_verify_init = nullptr;
  decltype(&EVP_DigestVerify) digest_verify = nullptr;
};

const Crypto* LoadCrypto() {
  static const std::unique_ptr<Crypto> crypto = [] {
    // The library of the OpenSSL the program was built with (its major version names it).
    TLibrary library("libcrypto.so." + std::to_string(OPENSSL_VERSION_MAJOR));
    auto c = std::make_unique<Crypto>();
    if (!(library.Find(c->new_raw_public_key, "EVP_PKEY_new_raw_public_key") &&
          library.Find(c->pkey_free, "EVP_PKEY_free") &&
          library.Find(c->md_ctx_new, "EVP_MD_CTX_new") &&
          library.Find(c->md_ctx_free, "EVP_MD_CTX_free") &&
          library.Find(c->digest_verify_init, "EVP_DigestVerifyInit") &&
          library.Find(c->digest_verify, "EVP_DigestVerify")))
      c.reset();
    return c;
  }();
  return crypto.get();
}

}  // namespace

bool VerifyEd25519Signature(const std::string& data, const std::string& signature,
                            const std::string& publicKeyHex) {
  unsigned char key[32];
  if (signature.size() != 64 || !DecodeHex(publicKeyHex, key, sizeof key)) return false;
  const Crypto* crypto = LoadCrypto();
  if (!crypto) return false;  // nothing can be verified without it
  EVP_PKEY* pkey = crypto->new_raw_public_key(EVP_PKEY_ED25519, nullptr, key, sizeof key);
  if (!pkey) return false;
  EVP_MD_CTX* context = crypto->md_ctx_new();
  // Ed25519 signs the message itself, in one pass: no digest is named.
  const bool valid =
      context && crypto->digest_verify_init(context, nullptr, nullptr, nullptr, pkey) == 1 &&
      crypto->digest_verify(context, reinterpret_cast<const unsigned char*>(signature.data()),
                            signature.size(), reinterpret_cast<const unsigned char*>(data.data()),
                            data.size()) == 1;
  crypto->md_ctx_free(context);
  crypto->pkey_free(pkey);
  return valid;
}

bool IsExecutableForThisMachine(const std::string& bytes) {
  const ElfIdentity* own = OwnIdentity();
  ElfIdentity id;
  return own && ReadIdentity(bytes, id) && id.elfClass == own->elfClass &&
         id.byteOrder == own->byteOrder && id.machine == own->machine &&
         (id.type == ET_EXEC || id.type == ET_DYN);
}
