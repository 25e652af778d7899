// Accelerate, Stop, the connection-type choice and the close sequence.
#include <algorithm>
#include <ostream>
#include <tuple>

#include "platform/framework/timer.h"
#include "tests/support/program_fixture.h"

namespace velocane::testing {
namespace {

using Pairs = std::vector<std::tuple<RootKey, std::string, std::uint32_t>>;

// The pair writes in order, as {root, value name, number}.
Pairs PairWrites(const sim::SimRegistry& registry) {
  Pairs writes;
  for (const auto& w : registry.Writes()) {
    if (w.value.type != ValueType::DWord) continue;
    writes.emplace_back(w.root, w.name,
                        w.value.data[0] | w.value.data[1] << 8 | w.value.data[2] << 16 |
                            static_cast<std::uint32_t>(w.value.data[3]) << 24);
  }
  return writes;
}

Pairs BothRoots(std::uint32_t a, std::uint32_t b) {
  return {{RootKey::CurrentUser, kMaxConnectionsPerServer, a},
          {RootKey::CurrentUser, kMaxConnectionsPer1_0Server, b},
          {RootKey::CurrentConfig, kMaxConnectionsPerServer, a},
          {RootKey::CurrentConfig, kMaxConnectionsPer1_0Server, b}};
}

class Acceleration : public ProgramTest {
 protected:
  void SetUp() override {
    StorePair(RootKey::CurrentConfig, 2, 4);  // a start that reads cleanly writes nothing
    Start().Show();                           // as the message loop shows it
  }
};

TEST_F(Acceleration, AccelerateWaitsTheGeneratorsSequenceThenWritesBothRoots) {
  std::vector<std::string> during;
  sim.process.on_sleep = [&](unsigned) {
    if (during.empty()) {
      during.push_back(form->SpeedButton1->Enabled() ? "enabled" : "disabled");
      during.push_back(form->CheckBox1->Visible() ? "box shown" : "box hidden");
      during.push_back(std::to_string(sim.registry.Writes().size()) + " writes");
    }
  };
  ClickButton(form->SpeedButton1);
  EXPECT_EQ(during, (std::vector<std::string>{"disabled", "box hidden", "0 writes"}));

  ReferenceRandom reference;
  const std::vector<unsigned> waits = reference.AccelerateWaits();
  EXPECT_EQ(sim.process.sleeps, waits);
  EXPECT_EQ(waits.size(), 103u);  // 101 short waits and the two pauses
  EXPECT_EQ(sim.clock.Now(), Sum(waits));
  // The long pauses come right after the 61st and the 86th short wait.
  EXPECT_EQ(sim.process.sleeps.at(61), 1700u);
  EXPECT_EQ(sim.process.sleeps.at(87), 1100u);
  EXPECT_EQ(PairWrites(sim.registry), BothRoots(6, 8));
  EXPECT_TRUE(form->SpeedButton1->Enabled());
  EXPECT_TRUE(form->CheckBox1->Visible());
  EXPECT_EQ(form->Label1->Caption(), "Acceleration successfully!");

  // The first Stop after it continues the same sequence.
  sim.process.sleeps.clear();
  const std::uint64_t before = sim.clock.Now();
  ClickButton(form->SpeedButton3);
  const std::vector<unsigned> stop_waits = reference.StopWaits();
  EXPECT_EQ(sim.process.sleeps, stop_waits);
  EXPECT_EQ(sim.clock.Now() - before, Sum(stop_waits));
  EXPECT_EQ(form->Label1->Caption(), "Acceleration removed.");
  EXPECT_TRUE(form->SpeedButton3->Enabled());
}

// What the gauge shows while each wait runs: the two long pauses hold it at
// 59 and 84, so they come right before it shows 60 and 85.
TEST_F(Acceleration, TheLongPausesComeRightBeforeTheGaugeShowsSixtyAndEightyFive) {
  std::vector<std::pair<unsigned, int>> shown_during;
  sim.process.on_sleep = [&](unsigned milliseconds) {
    shown_during.emplace_back(milliseconds, form->AG->Percentage());
  };
  const int before = form->AG->Percentage();
  ClickButton(form->SpeedButton1);

  ReferenceRandom reference;
  std::vector<std::pair<unsigned, int>> expected;
  for (int n = 0; n <= 100; ++n) {
    const int showing = n == 0 ? before : n - 1;
    expected.emplace_back(1 + reference.Next(5), showing);
    if (n == 60) expected.emplace_back(1700, 59);
    if (n == 85) expected.emplace_back(1100, 84);
  }
  EXPECT_EQ(shown_during, expected);
  // The same for the pauses alone, where a long list would cut them off.
  for (const auto& [pause, held] : {std::pair{1700u, 59}, std::pair{1100u, 84}}) {
    const auto it = std::find_if(shown_during.begin(), shown_during.end(),
                                 [pause](const auto& wait) { return wait.first == pause; });
    ASSERT_NE(it, shown_during.end()) << pause;
    EXPECT_EQ(it->second, held) << "shown during the " << pause << " ms pause";
    ASSERT_NE(it + 1, shown_during.end()) << pause;
    EXPECT_EQ((it + 1)->second, held + 1) << "shown in the wait after the " << pause << " ms pause";
  }
  EXPECT_EQ(form->AG->Percentage(), 100);  // the last value, after the last wait
}

TEST_F(Acceleration, StopTwiceWritesTheDefaultsTwice) {
  form->SpeedButton3->Click();
  form->SpeedButton3->Click();
  Pairs expected = BothRoots(2, 4);
  Pairs twice = expected;
  twice.insert(twice.end(), expected.begin(), expected.end());
  EXPECT_EQ(PairWrites(sim.registry), twice);
  EXPECT_EQ(form->LimitPerServer, 6);  // Stop leaves the chosen pair alone
  EXPECT_EQ(form->LimitPer1_0Server, 8);
}

TEST_F(Acceleration, NoMessagesAreHandledWhileACommandRuns) {
  auto* probe = new TTimer(form, "Probe");
  probe->SetInterval(10);
  std::vector<std::uint64_t> ticks;
  probe->SetOnTimer([&](TComponent&) { ticks.push_back(sim.clock.Now()); });
  ClickButton(form->SpeedButton1);
  EXPECT_TRUE(ticks.empty());
  sim.windowing.RunFor(0);
  EXPECT_EQ(ticks, std::vector<std::uint64_t>{sim.clock.Now()});  // one, after the command
}

TEST_F(Acceleration, WriteFailingOnceIsRepeated) {
  sim.registry.FailWrites(kMaxConnectionsPer1_0Server, 1);
  form->SpeedButton1->Click();
  Pairs expected = BothRoots(6, 8);
  // The first attempt under HKEY_CURRENT_USER wrote only the first value.
  expected.insert(expected.begin(), {RootKey::CurrentUser, kMaxConnectionsPerServer, 6});
  EXPECT_EQ(PairWrites(sim.registry), expected);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(form->Label1->Caption(), "Acceleration successfully!");
}

TEST_F(Acceleration, SecondFailureStopsTheCommandWithItsButtonDisabled) {
  sim.registry.FailWrites(kMaxConnectionsPerServer, 2);
  ClickButton(form->SpeedButton1);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].text, "Failed to set data for 'MaxConnectionsPerServer'");
  EXPECT_EQ(Boxes()[0].caption, "Velocane 3.12");
  EXPECT_EQ(Boxes()[0].flags, mb::kOk | mb::kIconError);
  EXPECT_FALSE(form->SpeedButton1->Enabled());
  EXPECT_EQ(form->Label1->Caption(), "Ready.");
  EXPECT_TRUE(PairWrites(sim.registry).empty());  // nothing reached HKEY_CURRENT_CONFIG
  // The program goes on: Stop still works.
  ClickButton(form->SpeedButton3);
  EXPECT_EQ(form->Label1->Caption(), "Acceleration removed.");
}

TEST_F(Acceleration, KeyWithoutRightsIsSkippedAndTheOtherRootWritten) {
  sim.registry.DenyAccess(RootKey::CurrentUser, kSettings);
  form->SpeedButton1->Click();
  EXPECT_EQ(PairWrites(sim.registry),
            (Pairs{{RootKey::CurrentConfig, kMaxConnectionsPerServer, 6},
                   {RootKey::CurrentConfig, kMaxConnectionsPer1_0Server, 8}}));
  EXPECT_TRUE(Boxes().empty());
}

struct Selection {
  int item;
  const char* name;
  std::uint32_t per_server;
  std::uint32_t per_1_0_server;
};

class Select : public Acceleration, public ::testing::WithParamInterface<Selection> {};

TEST_P(Select, PutsTheBareNameAcceleratesAndStoresIt) {
  const Selection& c = GetParam();
  form->CB->UserSelect(c.item);
  EXPECT_EQ(form->CB->Text(), c.name);
  EXPECT_EQ(form->ActiveControl(), form->Memo2);
  EXPECT_EQ(PairWrites(sim.registry), BothRoots(c.per_server, c.per_1_0_server));
  EXPECT_EQ(String(RootKey::CurrentConfig, kConnectionTypeValue), c.name);
  EXPECT_FALSE(String(RootKey::CurrentUser, kConnectionTypeValue));
  EXPECT_EQ(form->Label1->Caption(), "Acceleration successfully!");
  // The selection's pair is what a later Accelerate writes.
  form->SpeedButton1->Click();
  EXPECT_EQ(Pair(RootKey::CurrentUser),
            std::make_pair(std::optional(c.per_server), std::optional(c.per_1_0_server)));
}

INSTANTIATE_TEST_SUITE_P(Items, Select,
                         ::testing::Values(Selection{0, "Modem", 6, 6}, Selection{1, "LAN", 6, 6},
                                           Selection{2, "ISDN", 6, 6}, Selection{3, "ADSL", 16, 16},
                                           Selection{4, "CATV", 16, 16},
                                           Selection{5, "Cable", 20, 20},
                                           Selection{6, "AUTO", 6, 8}),
                         [](const ::testing::TestParamInfo<Selection>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(Acceleration, SelectionStoresTheTypeForTheNextStart) {
  form->CB->UserSelect(3);  // ADSL
  app.reset();
  TForm1& again = Start();
  again.Show();
  EXPECT_EQ(again.CB->Text(), "ADSL");
  again.SpeedButton1->Click();
  EXPECT_EQ(Pair(RootKey::CurrentUser),
            std::make_pair(std::optional<std::uint32_t>(16), std::optional<std::uint32_t>(16)));
}

TEST_F(Acceleration, SelectionWhileTheTextIsHiddenStopsAfterPuttingTheName) {
  form->Memo2->Hide();
  form->CB->UserSelect(5);  // Cable
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].text, "Cannot focus a disabled or invisible window");
  EXPECT_EQ(form->CB->Text(), "Cable");
  EXPECT_EQ(form->LimitPerServer, 6);
  EXPECT_EQ(form->LimitPer1_0Server, 8);
  EXPECT_TRUE(sim.registry.Writes().empty());
}

TEST_F(Acceleration, TypingIntoTheComboRunsNothing) {
  form->CB->UserType("Cable");
  EXPECT_TRUE(sim.registry.Writes().empty());
  EXPECT_TRUE(sim.process.sleeps.empty());
  form->SpeedButton1->Click();
  EXPECT_EQ(PairWrites(sim.registry), BothRoots(6, 8));  // the start-up pair
}

TEST_F(Acceleration, StoringTheTypeIsRepeatedOnceThenReported) {
  sim.registry.FailWrites(kConnectionTypeValue, 1);
  form->CB->UserSelect(5);
  EXPECT_EQ(String(RootKey::CurrentConfig, kConnectionTypeValue), "Cable");
  EXPECT_TRUE(Boxes().empty());

  sim.registry.FailWrites(kConnectionTypeValue, 2);
  form->CB->UserSelect(1);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].text, "Failed to set data for 'ConnectionType'");
  EXPECT_EQ(String(RootKey::CurrentConfig, kConnectionTypeValue), "Cable");
}

TEST_F(Acceleration, ConfigKeyWithoutRightsStoresNoType) {
  sim.registry.DenyAccess(RootKey::CurrentConfig, kSettings);
  form->CB->UserSelect(5);
  EXPECT_EQ(PairWrites(sim.registry),
            (Pairs{{RootKey::CurrentUser, kMaxConnectionsPerServer, 20},
                   {RootKey::CurrentUser, kMaxConnectionsPer1_0Server, 20}}));
  EXPECT_FALSE(String(RootKey::CurrentConfig, kConnectionTypeValue));
  EXPECT_TRUE(Boxes().empty());
}

class CloseSequence : public Acceleration {
 protected:
  // Closes with the close box and answers the question; returns the boxes shown.
  void CloseAnswering(int answer) {
    sim.registry.Put(RootKey::CurrentConfig, kSettings, kConnectionTypeValue,
                     sim::StringValue("Cable"));
    StorePair(RootKey::CurrentUser, 20, 20);
    StorePair(RootKey::CurrentConfig, 20, 20);
    sim.windowing.SetMessageBoxResponder([&](const sim::ShownMessageBox& box) {
      if (box.caption == "Warning") {
        pairs_at_question = {Pair(RootKey::CurrentUser), Pair(RootKey::CurrentConfig)};
        return answer;
      }
      return idbutton::kOk;
    });
    sim.windowing.PostMessage(form->Handle(), wm::kClose, 0, 0);
    app->Run();
  }
  std::vector<std::pair<std::optional<std::uint32_t>, std::optional<std::uint32_t>>>
      pairs_at_question;
};

TEST_F(CloseSequence, WritesTheDefaultsBeforeAskingAndYesEnds) {
  CloseAnswering(idbutton::kYes);
  const auto defaults =
      std::make_pair(std::optional<std::uint32_t>(2), std::optional<std::uint32_t>(4));
  EXPECT_EQ(pairs_at_question, (decltype(pairs_at_question){defaults, defaults}));
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].caption, "Warning");
  EXPECT_EQ(Boxes()[0].text,
            "Shut down Velocane may reduce your Internet Explorer's surfing and downloading "
            "speed. The acceleration function is lost.  Do you really want to exit at this "
            "moment?");
  EXPECT_EQ(Boxes()[0].flags, mb::kYesNo);
  EXPECT_TRUE(app->Terminated());
  EXPECT_EQ(String(RootKey::CurrentConfig, kConnectionTypeValue), "Cable");
  EXPECT_EQ(form->Label1->Caption(), "Ready.");  // the status line is not touched
}

TEST_F(CloseSequence, NoShowsTheSecondBoxAndStillEnds) {
  CloseAnswering(idbutton::kNo);
  ASSERT_EQ(Boxes().size(), 2u);
  EXPECT_EQ(Boxes()[1].caption, "Velocane 3.12");
  EXPECT_EQ(Boxes()[1].text,
            "You have to start Velocane again to enable the acceleration function.");
  EXPECT_EQ(Boxes()[1].flags, mb::kOk);
  EXPECT_TRUE(app->Terminated());
}

TEST_F(CloseSequence, EndOfSessionWritesTheDefaultsWithoutAsking) {
  StorePair(RootKey::CurrentUser, 20, 20);
  EXPECT_EQ(sim.windowing.SendMessage(form->Handle(), wm::kQueryEndSession, 0, 0), 1);
  EXPECT_EQ(Pair(RootKey::CurrentUser),
            std::make_pair(std::optional<std::uint32_t>(2), std::optional<std::uint32_t>(4)));
  EXPECT_TRUE(Boxes().empty());
}

// Writing the defaults fails twice while the window closes (its close box, or
// the end of the session): the window still closes, the other root is still
// written, and the error box names each value that kept its number, once.
struct CloseFault {
  const char* name;
  struct Failing {
    std::string value;
    int count;
    std::optional<RootKey> root;  // any root when none
  };
  std::vector<Failing> failing;
  std::vector<std::string> errors;   // the error boxes' texts, in order
  std::pair<int, int> user, config;  // the pairs left under both roots
};

void PrintTo(const CloseFault& c, std::ostream* out) { *out << c.name; }

const CloseFault kCloseFaults[] = {
    {"UserRoot",
     {{kMaxConnectionsPerServer, 2, RootKey::CurrentUser}},
     {"Failed to set data for 'MaxConnectionsPerServer'"},
     {20, 20},
     {2, 4}},
    // The first value was written before the second failed, twice.
    {"ConfigRoot",
     {{kMaxConnectionsPer1_0Server, 2, RootKey::CurrentConfig}},
     {"Failed to set data for 'MaxConnectionsPer1_0Server'"},
     {2, 4},
     {2, 20}},
    {"BothRootsAlike",
     {{kMaxConnectionsPerServer, 4, std::nullopt}},
     {"Failed to set data for 'MaxConnectionsPerServer'"},
     {20, 20},
     {20, 20}},
    {"EachRootItsOwnValue",
     {{kMaxConnectionsPerServer, 2, RootKey::CurrentUser},
      {kMaxConnectionsPer1_0Server, 2, RootKey::CurrentConfig}},
     {"Failed to set data for 'MaxConnectionsPerServer'",
      "Failed to set data for 'MaxConnectionsPer1_0Server'"},
     {20, 20},
     {2, 20}},
};

class CloseWithFailingDefaults
    : public Acceleration,
      public ::testing::WithParamInterface<std::tuple<CloseFault, bool /* end of session */>> {};

TEST_P(CloseWithFailingDefaults, StillClosesWritesTheOtherRootAndSaysWhatFailed) {
  const auto& [fault, end_of_session] = GetParam();
  StorePair(RootKey::CurrentUser, 20, 20);
  StorePair(RootKey::CurrentConfig, 20, 20);
  for (const CloseFault::Failing& f : fault.failing) {
    sim.registry.FailWrites(f.value, f.count, regstatus::kAccessDenied, f.root);
  }
  std::vector<std::string> expected_boxes = fault.errors;
  if (end_of_session) {
    EXPECT_EQ(sim.windowing.SendMessage(form->Handle(), wm::kQueryEndSession, 0, 0), 1);
  } else {
    sim.windowing.SendMessage(form->Handle(), wm::kClose, 0, 0);
    EXPECT_TRUE(app->Terminated()) << "the window stayed open";
    expected_boxes.push_back("Warning");  // the question still comes, after the errors
  }
  std::vector<std::string> boxes;
  for (const sim::ShownMessageBox& box : Boxes()) {
    if (box.caption == "Warning") {
      boxes.push_back(box.caption);
      continue;
    }
    boxes.push_back(box.text);
    EXPECT_EQ(box.caption, "Velocane 3.12");
    EXPECT_EQ(box.flags, mb::kOk | mb::kIconError);
  }
  EXPECT_EQ(boxes, expected_boxes);
  using Limits = std::pair<std::optional<std::uint32_t>, std::optional<std::uint32_t>>;
  EXPECT_EQ(Pair(RootKey::CurrentUser), (Limits{fault.user.first, fault.user.second}));
  EXPECT_EQ(Pair(RootKey::CurrentConfig), (Limits{fault.config.first, fault.config.second}));
  EXPECT_EQ(sim.registry.PendingWriteFailures(), 0) << "a root was not attempted";
}

INSTANTIATE_TEST_SUITE_P(Faults, CloseWithFailingDefaults,
                         ::testing::Combine(::testing::ValuesIn(kCloseFaults), ::testing::Bool()),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) +
                                  (std::get<1>(info.param) ? "_EndOfSession" : "_CloseBox");
                         });

TEST_F(Acceleration, HiddenButtonStartsTheSiblingQuotedAndReportsNothing) {
  sim.process.win_exec_result = 2;  // file not found
  form->BitBtn2->Click();
  ASSERT_EQ(sim.process.started.size(), 1u);
  EXPECT_EQ(sim.process.started[0].command_line, "\"C:\\Program Files\\Velocane\\Pellarin.exe\"");
  EXPECT_EQ(sim.process.started[0].show, showcmd::kShowNormal);
  EXPECT_TRUE(app->Minimized());
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(Acceleration, PanelClickDoesNothing) {
  static_cast<sim::SimPanel*>(form->Panel1->Peer())->MouseClick(Point{2, 100});
  EXPECT_TRUE(sim.registry.Writes().empty());
  EXPECT_TRUE(Boxes().empty());
}

}  // namespace
}  // namespace velocane::testing
