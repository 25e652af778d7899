// Start-up: the stored connection type and its pair, the "/Auto" switch, and
// what a failed read or write does.
#include <cctype>

#include "tests/support/program_fixture.h"

namespace velocane::testing {
namespace {

using Startup = ProgramTest;

TEST_F(Startup, FirstStartWritesTheInitialPairAndShowsAuto) {
  TForm1& f = Start();
  EXPECT_EQ(Pair(RootKey::CurrentConfig),
            std::make_pair(std::optional<std::uint32_t>(6), std::optional<std::uint32_t>(6)));
  EXPECT_FALSE(DWord(RootKey::CurrentUser, kMaxConnectionsPerServer));
  EXPECT_FALSE(String(RootKey::CurrentConfig, kConnectionTypeValue));  // not stored by a start
  EXPECT_EQ(f.CB->Text(), "AUTO");
  EXPECT_EQ(f.LimitPerServer, 6);
  EXPECT_EQ(f.LimitPer1_0Server, 8);
  EXPECT_EQ(f.Label1->Caption(), "Ready.");
  EXPECT_FALSE(f.Timer3->Enabled());
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(sim.registry.OpenHandles(), 0);
}

struct StoredType {
  const char* stored;
  const char* shown;
  int per_server;
  int per_1_0_server;
};

class StoredTypeStartup : public ProgramTest, public ::testing::WithParamInterface<StoredType> {};

TEST_P(StoredTypeStartup, IsShownUnchangedAndOnlyWholeNamesGiveTheirPair) {
  const StoredType& c = GetParam();
  StorePair(RootKey::CurrentConfig, 2, 4);
  sim.registry.Put(RootKey::CurrentConfig, kSettings, kConnectionTypeValue,
                   sim::StringValue(c.stored));
  TForm1& f = Start();
  EXPECT_EQ(f.CB->Text(), c.shown);
  EXPECT_EQ(f.LimitPerServer, c.per_server);
  EXPECT_EQ(f.LimitPer1_0Server, c.per_1_0_server);
  EXPECT_TRUE(sim.registry.Writes().empty());  // whatever pair the registry holds
  EXPECT_EQ(f.Label1->Caption(), "Ready.");
}

INSTANTIATE_TEST_SUITE_P(
    Table, StoredTypeStartup,
    ::testing::Values(StoredType{"Cable", "Cable", 20, 20}, StoredType{"ADSL", "ADSL", 16, 16},
                      StoredType{"CATV", "CATV", 16, 16}, StoredType{"Modem", "Modem", 6, 6},
                      StoredType{"ISDN", "ISDN", 6, 6}, StoredType{"LAN", "LAN", 6, 6},
                      StoredType{"AUTO", "AUTO", 6, 8}, StoredType{"", "AUTO", 6, 8},
                      StoredType{"cable", "cable", 6, 6}, StoredType{"Cable ", "Cable ", 6, 6},
                      StoredType{"Cable  x", "Cable  x", 6, 6}),
    [](const ::testing::TestParamInfo<StoredType>& info) {
      // Test names allow letters and digits only.
      std::string name = "Case" + std::to_string(info.index) + "_";
      for (const char* c = info.param.stored; *c != 0; ++c) {
        if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
      }
      return name;
    });

TEST_F(Startup, StringWithoutTerminatorIsReadToItsEnd) {
  StorePair(RootKey::CurrentConfig, 2, 4);
  sim.registry.Put(RootKey::CurrentConfig, kSettings, kConnectionTypeValue,
                   RegValue{ValueType::String, {'C', 'a', 'b', 'l', 'e'}});
  TForm1& f = Start();
  EXPECT_EQ(f.CB->Text(), "Cable");
  EXPECT_EQ(f.LimitPerServer, 20);
}

struct BrokenRead {
  const char* what;
  RegValue per_server;
  RegValue per_1_0_server;
  RegValue type;
};

class BrokenReadStartup : public ProgramTest, public ::testing::WithParamInterface<BrokenRead> {};

TEST_P(BrokenReadStartup, SkipsTheRestAndWritesSixAndSix) {
  const BrokenRead& c = GetParam();
  auto put = [&](const char* name, const RegValue& v) {
    if (v.type != ValueType::None) sim.registry.Put(RootKey::CurrentConfig, kSettings, name, v);
  };
  put(kMaxConnectionsPerServer, c.per_server);
  put(kMaxConnectionsPer1_0Server, c.per_1_0_server);
  put(kConnectionTypeValue, c.type);
  TForm1& f = Start();
  EXPECT_EQ(Pair(RootKey::CurrentConfig),
            std::make_pair(std::optional<std::uint32_t>(6), std::optional<std::uint32_t>(6)));
  // The stored type was never read: the start counts as "AUTO".
  EXPECT_EQ(f.CB->Text(), "AUTO");
  EXPECT_EQ(f.LimitPer1_0Server, 8);
  EXPECT_TRUE(Boxes().empty());
}

const RegValue kAbsent{ValueType::None, {}};

INSTANTIATE_TEST_SUITE_P(
    Table, BrokenReadStartup,
    ::testing::Values(
        BrokenRead{"PerServerMissing", kAbsent, sim::DWordValue(4), sim::StringValue("Cable")},
        BrokenRead{"PerServerString", sim::StringValue("20"), sim::DWordValue(4),
                   sim::StringValue("Cable")},
        BrokenRead{"Per10Missing", sim::DWordValue(2), kAbsent, sim::StringValue("Cable")},
        BrokenRead{"Per10TooShort", sim::DWordValue(2), RegValue{ValueType::DWord, {4, 0}},
                   sim::StringValue("Cable")},
        BrokenRead{"TypeNumber", sim::DWordValue(2), sim::DWordValue(4), sim::DWordValue(5)},
        BrokenRead{"TypeBinary", sim::DWordValue(2), sim::DWordValue(4),
                   RegValue{ValueType::Binary, {'C', 'a', 'b', 'l', 'e', 0}}}),
    [](const ::testing::TestParamInfo<BrokenRead>& info) { return std::string(info.param.what); });

TEST_F(Startup, KeyWithoutRightsIsSkippedSilently) {
  sim.registry.DenyAccess(RootKey::CurrentConfig, kSettings);
  TForm1& f = Start();
  EXPECT_TRUE(sim.registry.Writes().empty());
  EXPECT_EQ(f.CB->Text(), "AUTO");
  EXPECT_EQ(f.LimitPerServer, 6);
  EXPECT_EQ(f.LimitPer1_0Server, 8);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(Startup, FailedDefaultWriteIsShownAndTheRestIsSkipped) {
  sim.registry.FailWrites(kMaxConnectionsPer1_0Server, 1);
  TForm1& f = Start();
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].text, "Failed to set data for 'MaxConnectionsPer1_0Server'");
  EXPECT_EQ(Boxes()[0].caption, "Velocane 3.12");
  EXPECT_EQ(Boxes()[0].flags, mb::kOk | mb::kIconError);
  // Steps after the read did not run: the pair stays 6 and 6.
  EXPECT_EQ(f.LimitPerServer, 6);
  EXPECT_EQ(f.LimitPer1_0Server, 6);
  EXPECT_EQ(f.CB->Text(), "AUTO");  // the design-time text
  // The window opens all the same.
  app->Terminate();
  app->Run();
  EXPECT_TRUE(sim.windowing.IsWindowVisible(f.Handle()));
}

TEST_F(Startup, OnlyAnExactFirstArgumentEnablesTheAutomaticStart) {
  const std::pair<const char*, bool> cases[] = {
      {"velocane.exe /Auto", true},
      {"\"C:\\Program Files\\Velocane\\velocane.exe\" /Auto", true},
      {"velocane.exe \"/Auto\"", true},
      {"velocane.exe /auto", false},
      {"velocane.exe /AUTO", false},
      {"velocane.exe /Auto2", false},
      {"velocane.exe -x /Auto", false},
      {"velocane.exe", false},
  };
  for (const auto& [line, enabled] : cases) {
    SCOPED_TRACE(line);
    app.reset();
    EXPECT_EQ(Start(line).Timer3->Enabled(), enabled);
  }
}

TEST_F(Startup, AutomaticStartAcceleratesAfterOneAndAHalfSecondsAndHides) {
  StorePair(RootKey::CurrentConfig, 2, 4);
  sim.registry.Put(RootKey::CurrentConfig, kSettings, kConnectionTypeValue,
                   sim::StringValue("Cable"));
  TForm1& f = Start("velocane.exe /Auto");
  f.Show();
  sim.windowing.RunFor(1499);
  EXPECT_EQ(Pair(RootKey::CurrentUser).first, std::nullopt);
  sim.windowing.RunFor(1);
  ReferenceRandom reference;
  EXPECT_EQ(sim.clock.Now(), 1500 + Sum(reference.AccelerateWaits()));
  EXPECT_EQ(Pair(RootKey::CurrentUser),
            std::make_pair(std::optional<std::uint32_t>(20), std::optional<std::uint32_t>(20)));
  EXPECT_EQ(Pair(RootKey::CurrentConfig), Pair(RootKey::CurrentUser));
  EXPECT_EQ(f.Label1->Caption(), "Acceleration successfully!");
  EXPECT_FALSE(f.Visible());
  EXPECT_FALSE(sim.windowing.IsWindowVisible(f.Handle()));
  EXPECT_TRUE(app->Minimized());
  EXPECT_FALSE(f.Timer3->Enabled());
  // It ends in the notification area, the icon cycling.
  EXPECT_TRUE(f.CT1->IconVisible());
  EXPECT_TRUE(f.CT1->Enabled());
  EXPECT_TRUE(f.CT1->CycleIcons());
  EXPECT_NE(sim.notify_area.Find(TNotifyIconHandler::Window(), f.CT1->Id()), nullptr);
  const std::size_t writes = sim.registry.Writes().size();
  sim.windowing.RunFor(60'000);
  EXPECT_EQ(sim.registry.Writes().size(), writes);  // once only
}

TEST_F(Startup, LateMessageLoopRunsTheAutomaticStartAtOnce) {
  TForm1& f = Start("velocane.exe /Auto");
  sim.process.Sleep(5000);  // start-up took longer than the interval
  sim.windowing.RunFor(0);
  EXPECT_EQ(f.Label1->Caption(), "Acceleration successfully!");
}

}  // namespace
}  // namespace velocane::testing
