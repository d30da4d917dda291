// What the update's checks of a new program cost: the Ed25519 signature over the whole file
// and the look at its header, for program files of 1 MB to 64 MB.
#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <string>

#include "platform/Signatures.h"

namespace {

struct SignedProgram {
  std::string bytes;
  std::string signature;
  std::string key;
};

SignedProgram Make(size_t size) {
  SignedProgram p;
  p.bytes.assign(size, '\0');
  for (size_t i = 0; i < size; ++i) p.bytes[i] = static_cast<char>(i * 2654435761u >> 24);
  EVP_PKEY_CTX* context = EVP_PKEY_CTX_new_id(EVP_PKEY_ED25519, nullptr);
  EVP_PKEY* key = nullptr;
  EVP_PKEY_keygen_init(context);
  EVP_PKEY_keygen(context, &key);
  EVP_PKEY_CTX_free(context);
  unsigned char raw[32];
  size_t rawSize = sizeof raw;
  EVP_PKEY_get_raw_public_key(key, raw, &rawSize);
  static const char digits[] = "0123456789abcdef";
  for (unsigned char b : raw) p.key += {digits[b >> 4], digits[b & 15]};
  p.signature.assign(64, '\0');
  size_t sigSize = 64;
  EVP_MD_CTX* md = EVP_MD_CTX_new();
  EVP_DigestSignInit(md, nullptr, nullptr, nullptr, key);
  EVP_DigestSign(md, reinterpret_cast<unsigned char*>(p.signature.data()), &sigSize,
                 reinterpret_cast<const unsigned char*>(p.bytes.data()), p.bytes.size());
  EVP_MD_CTX_free(md);
  EVP_PKEY_free(key);
  return p;
}

void BM_VerifyProgram(benchmark::State& state) {
  const SignedProgram p = Make(static_cast<size_t>(state.range(0)));
  for (auto _ : state) {
    bool ok = VerifyEd25519Signature(p.bytes, p.signature, p.key);
    ok = IsExecutableForThisMachine(p.bytes) || ok;
    benchmark::DoNotOptimize(ok);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_VerifyProgram)
    ->Arg(1 << 20)
    ->Arg(16 << 20)
    ->Arg(64 << 20)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
