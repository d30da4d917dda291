#include <gtest/gtest.h>

#include "platform/Registry.h"

TEST(Registry, AbsentKeysReadAsAbsentAndWrittenValuesReadBackIgnoringCaseAndSeparators) {
  std::string value = "untouched";
  EXPECT_FALSE(RegistryReadString(TRegRoot::CurrentUser,
                                  "\\Software\\Microsoft\\Windows\\"
                                  "CurrentVersion\\ThemeManager",
                                  "ColorName", value));
  EXPECT_EQ(value, "untouched");

  RegistryWriteString(TRegRoot::CurrentUser, "\\Software\\Zelkar\\Look\\", "Scheme", "METALLIC");
  ASSERT_TRUE(RegistryReadString(TRegRoot::CurrentUser, "software/zelkar//look", "SCHEME", value));
  EXPECT_EQ(value, "METALLIC");
  // Another root is another tree.
  EXPECT_FALSE(
      RegistryReadString(TRegRoot::LocalMachine, "Software\\Zelkar\\Look", "Scheme", value));

  RegistryWriteString(TRegRoot::CurrentUser, "Software\\ZelkarOther", "Scheme", "kept");
  RegistryDeleteKey(TRegRoot::CurrentUser, "Software\\Zelkar");
  EXPECT_FALSE(
      RegistryReadString(TRegRoot::CurrentUser, "Software\\Zelkar\\Look", "Scheme", value));
  // A key that only shares the prefix of its name survives.
  ASSERT_TRUE(RegistryReadString(TRegRoot::CurrentUser, "Software\\ZelkarOther", "Scheme", value));
  EXPECT_EQ(value, "kept");
  RegistryDeleteKey(TRegRoot::CurrentUser, "Software\\ZelkarOther");
}
