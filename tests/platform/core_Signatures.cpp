// Signature and program checks that stand between a fetched file and its installation.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/Signatures.h"
#include "tests/support/TestSigningKey.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(Signatures, OnlyTheRightKeyOverTheUnchangedBytesVerifies) {
  TestSigningKey maker;
  TestSigningKey stranger;
  const std::string program = std::string(
      "\x7f"
      "ELF program bytes\0\xff",
      20);
  const std::string signature = maker.Sign(program);
  ASSERT_EQ(signature.size(), 64u);
  const std::string key = maker.PublicKeyHex();
  ASSERT_EQ(key.size(), 64u);

  EXPECT_TRUE(VerifyEd25519Signature(program, signature, key));

  std::string changed = program;
  changed[5] ^= 1;
  EXPECT_FALSE(VerifyEd25519Signature(changed, signature, key));
  EXPECT_FALSE(VerifyEd25519Signature(program + "x", signature, key));
  std::string forged = signature;
  forged[10] ^= 0x40;
  EXPECT_FALSE(VerifyEd25519Signature(program, forged, key));
  EXPECT_FALSE(VerifyEd25519Signature(program, stranger.Sign(program), key));
  EXPECT_FALSE(VerifyEd25519Signature(program, signature, stranger.PublicKeyHex()));
  // Signatures of another length, keys that are missing or not 32 bytes of hexadecimal.
  EXPECT_FALSE(VerifyEd25519Signature(program, signature.substr(0, 63), key));
  EXPECT_FALSE(VerifyEd25519Signature(program, "", key));
  for (const std::string& bad :
       {std::string(), key.substr(0, 62), key + "00", "zz" + key.substr(2), " " + key.substr(1)})
    EXPECT_FALSE(VerifyEd25519Signature(program, signature, bad)) << bad;
}

TEST(Signatures, OnlyProgramsForThisMachineCount) {
  const std::string own = ReadAll("/proc/self/exe");
  ASSERT_GT(own.size(), 64u);
  EXPECT_TRUE(IsExecutableForThisMachine(own));
  EXPECT_TRUE(IsExecutableForThisMachine(own.substr(0, 20)));  // the header is what counts

  EXPECT_FALSE(IsExecutableForThisMachine("#!/bin/sh\necho hello\n"));
  EXPECT_FALSE(IsExecutableForThisMachine("<html><body>404</body></html>"));
  EXPECT_FALSE(IsExecutableForThisMachine(""));
  EXPECT_FALSE(IsExecutableForThisMachine(own.substr(0, 19)));
  const bool little = own[5] == 1;
  const size_t typeLow = little ? 16 : 17;
  const size_t machineLow = little ? 18 : 19;
  std::string other = own;
  other[machineLow] = static_cast<char>(other[machineLow] ^ 0x7f);  // another machine
  EXPECT_FALSE(IsExecutableForThisMachine(other));
  other = own;
  other[4] = static_cast<char>(other[4] == 2 ? 1 : 2);  // the other word size
  EXPECT_FALSE(IsExecutableForThisMachine(other));
  other = own;
  other[5] = static_cast<char>(little ? 2 : 1);  // the other byte order
  EXPECT_FALSE(IsExecutableForThisMachine(other));
  other = own;
  other[typeLow] = 1;  // a relocatable object, not a program
  EXPECT_FALSE(IsExecutableForThisMachine(other));
  other[typeLow] = 2;  // a fixed-address program is one
  EXPECT_TRUE(IsExecutableForThisMachine(other));
  other = own;
  other[0] = 'E';
  EXPECT_FALSE(IsExecutableForThisMachine(other));
}

}  // namespace
