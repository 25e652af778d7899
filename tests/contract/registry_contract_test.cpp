// The registry as the program relies on it, on the simulation and on the real system.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "tests/contract/backend.h"

namespace velocane {
namespace {

const std::string kKey = "Software\\VelocaneContract\\Registry";

RegValue Bytes(ValueType type, std::vector<std::uint8_t> data) { return RegValue{type, data}; }

class RegistryContract : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(reg.OpenKey(RootKey::CurrentUser, kKey, true, &key), regstatus::kSuccess);
    ASSERT_TRUE(key);
  }
  void TearDown() override {
    for (const char* name : {"dword", "text", "raw", "MixedCase", "gone"}) key->DeleteValue(name);
  }
  Registry& reg = contract::Backend().registry;
  std::unique_ptr<RegistryKey> key;
};

TEST_F(RegistryContract, DWordAndStringRoundTripByteForByte) {
  const RegValue dword = Bytes(ValueType::DWord, {20, 0, 0, 0});
  const RegValue text = Bytes(ValueType::String, {'C', 'a', 'b', 'l', 'e', 0});
  ASSERT_EQ(key->SetValue("dword", dword), regstatus::kSuccess);
  ASSERT_EQ(key->SetValue("text", text), regstatus::kSuccess);
  RegValue read;
  ASSERT_EQ(key->QueryValue("dword", &read), regstatus::kSuccess);
  EXPECT_EQ(read.type, ValueType::DWord);
  EXPECT_EQ(read.data, dword.data);
  ASSERT_EQ(key->QueryValue("text", &read), regstatus::kSuccess);
  EXPECT_EQ(read.type, ValueType::String);
  EXPECT_EQ(read.data, text.data);
}

// A string stored without its terminator comes back with the stored bytes;
// whether a terminator follows depends on the system (Wine adds one), so a
// reader must cope with both.
TEST_F(RegistryContract, StringWithoutTerminatorKeepsItsBytes) {
  const RegValue raw = Bytes(ValueType::String, {'A', 'U', 'T', 'O'});
  ASSERT_EQ(key->SetValue("raw", raw), regstatus::kSuccess);
  RegValue read;
  ASSERT_EQ(key->QueryValue("raw", &read), regstatus::kSuccess);
  EXPECT_EQ(read.type, ValueType::String);
  ASSERT_GE(read.data.size(), raw.data.size());
  ASSERT_LE(read.data.size(), raw.data.size() + 1);
  EXPECT_TRUE(std::equal(raw.data.begin(), raw.data.end(), read.data.begin()));
  if (read.data.size() > raw.data.size()) {
    EXPECT_EQ(read.data.back(), 0);
  }
}

TEST_F(RegistryContract, NamesIgnoreCaseAndOverwriteKeepsOneValue) {
  ASSERT_EQ(key->SetValue("MixedCase", Bytes(ValueType::DWord, {1, 0, 0, 0})), 0);
  ASSERT_EQ(key->SetValue("mixedcase", Bytes(ValueType::DWord, {2, 0, 0, 0})), 0);
  RegValue read;
  ASSERT_EQ(key->QueryValue("MIXEDCASE", &read), regstatus::kSuccess);
  EXPECT_EQ(read.data, (std::vector<std::uint8_t>{2, 0, 0, 0}));
}

TEST_F(RegistryContract, MissingValuesAndDeletion) {
  RegValue read;
  EXPECT_EQ(key->QueryValue("gone", &read), regstatus::kFileNotFound);
  EXPECT_EQ(key->DeleteValue("gone"), regstatus::kFileNotFound);
  ASSERT_EQ(key->SetValue("gone", Bytes(ValueType::String, {'x', 0})), 0);
  EXPECT_EQ(key->DeleteValue("gone"), regstatus::kSuccess);
  EXPECT_EQ(key->QueryValue("gone", &read), regstatus::kFileNotFound);
}

TEST_F(RegistryContract, OpeningWithoutCreateFailsForAMissingKeyAndCreatesOtherwise) {
  // A name no earlier run has used: the real registry keeps what it is given.
  const std::string path =
      kKey + "\\Sub" + std::to_string(std::chrono::system_clock::now().time_since_epoch().count());
  std::unique_ptr<RegistryKey> sub;
  EXPECT_EQ(reg.OpenKey(RootKey::CurrentUser, path, false, &sub), regstatus::kFileNotFound);
  EXPECT_FALSE(sub);
  ASSERT_EQ(reg.OpenKey(RootKey::CurrentUser, path, true, &sub), regstatus::kSuccess);
  sub.reset();
  ASSERT_EQ(reg.OpenKey(RootKey::CurrentUser, path, false, &sub), regstatus::kSuccess);
  EXPECT_TRUE(sub);
}

TEST_F(RegistryContract, EveryRootTheProgramWritesIsWritable) {
  for (RootKey root : {RootKey::CurrentUser, RootKey::CurrentConfig, RootKey::LocalMachine}) {
    std::unique_ptr<RegistryKey> other;
    ASSERT_EQ(reg.OpenKey(root, "Software\\VelocaneContract\\Roots", true, &other), 0);
    EXPECT_EQ(other->SetValue("dword", Bytes(ValueType::DWord, {6, 0, 0, 0})), 0);
    EXPECT_EQ(other->DeleteValue("dword"), 0);
  }
}

}  // namespace
}  // namespace velocane
