// Every place the program touches the registry, under every fault it can
// meet there: what it does, everything it writes, and every box it shows.
#include <functional>
#include <sstream>

#include "tests/support/program_fixture.h"

namespace velocane::testing {
namespace {

const std::string kRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kExe = "C:\\Program Files\\Velocane\\velocane.exe";
const std::string kRunData = "\"" + kExe + "\" /Auto";

class RegistryFaults;

struct FaultCase {
  const char* place;
  const char* fault;
  std::function<void(RegistryFaults&)> arrange;
  std::function<void(RegistryFaults&)> act;
  std::vector<std::string> writes;  // "CU name=value", in order
  std::vector<std::string> boxes;   // the error boxes' texts
  std::function<void(RegistryFaults&)> check;
};

void PrintTo(const FaultCase& c, std::ostream* out) { *out << c.place << " / " << c.fault; }

class RegistryFaults : public ProgramTest, public ::testing::WithParamInterface<FaultCase> {
 public:
  // The cases' steps are functions of their own.
  using ProgramTest::form;
  using ProgramTest::sim;

  // A machine where a start reads cleanly and writes nothing.
  void SetUp() override {
    StorePair(RootKey::CurrentConfig, 2, 4);
    PutSetting(kConnectionTypeValue, sim::StringValue("Cable"));
    sim.process.module_file_name = kExe;
  }
  void PutSetting(const std::string& name, const RegValue& value) {
    sim.registry.Put(RootKey::CurrentConfig, kSettings, name, value);
  }
  void RemoveSetting(const std::string& name) {
    std::unique_ptr<RegistryKey> key;
    sim.registry.OpenKey(RootKey::CurrentConfig, kSettings, false, &key);
    key->DeleteValue(name);
  }
  // Start-up, and the first turns of the message loop after the window is shown.
  void Launch() {
    Start("\"" + kExe + "\"").Show();
    sim.windowing.ProcessPendingMessages();
  }
  void ClickAccelerate() { ClickButton(form->SpeedButton1); }

  std::vector<std::string> WritesSeen() const {
    std::vector<std::string> seen;
    for (const auto& w : sim.registry.Writes()) {
      std::ostringstream line;
      line << (w.root == RootKey::CurrentUser     ? "CU "
               : w.root == RootKey::CurrentConfig ? "CC "
                                                  : "LM ")
           << w.name << "=";
      if (w.value.type == ValueType::DWord) {
        line << (w.value.data[0] | w.value.data[1] << 8);
      } else {
        line << std::string(w.value.data.begin(),
                            std::find(w.value.data.begin(), w.value.data.end(), 0));
      }
      seen.push_back(line.str());
    }
    return seen;
  }
  std::vector<std::string> BoxesSeen() const {
    std::vector<std::string> texts;
    for (const auto& box : Boxes()) texts.push_back(box.text);
    return texts;
  }
  bool RunValuePresent() const {
    return sim.registry.Find(RootKey::LocalMachine, kRun, "Velocane") != nullptr;
  }
};

std::vector<std::string> Pair(const char* root, int a, int b) {
  return {std::string(root) + " MaxConnectionsPerServer=" + std::to_string(a),
          std::string(root) + " MaxConnectionsPer1_0Server=" + std::to_string(b)};
}

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

const auto kNothing = [](RegistryFaults&) {};
// A system without Task Scheduler 2.0: the Run value starts the program at log-on.
const auto kWithoutTaskService = [](RegistryFaults& t) { t.sim.task_scheduler.installed = false; };
const auto kLaunch = [](RegistryFaults& t) { t.Launch(); };
const auto kLaunchAndAccelerate = [](RegistryFaults& t) {
  t.Launch();
  t.ClickAccelerate();
};
const auto kLaunchAndSelectCable = [](RegistryFaults& t) {
  t.Launch();
  t.form->CB->UserSelect(5);
};
const auto kLaunchAndCheck = [](RegistryFaults& t) {
  t.Launch();
  t.form->CheckBox1->UserClick();
};

// The command stopped at its failure: button off, status and cycling unchanged.
const auto kAccelerateStopped = [](RegistryFaults& t) {
  EXPECT_FALSE(t.form->SpeedButton1->Enabled());
  EXPECT_EQ(t.form->Label1->Caption(), "Ready.");
  EXPECT_FALSE(t.form->CT1->CycleIcons());
};
const auto kAccelerated = [](RegistryFaults& t) {
  EXPECT_TRUE(t.form->SpeedButton1->Enabled());
  EXPECT_EQ(t.form->Label1->Caption(), "Acceleration successfully!");
};
// Start-up read the broken pair: the default pair is written, the rest skipped.
const auto kRepaired = [](RegistryFaults& t) {
  EXPECT_EQ(t.form->CB->Text(), "AUTO");
  EXPECT_EQ(t.form->LimitPerServer, 6);
  EXPECT_EQ(t.form->LimitPer1_0Server, 8);
};
const auto kPresentRun = [](RegistryFaults& t) {
  t.sim.registry.Put(RootKey::LocalMachine, kRun, "Velocane", sim::StringValue("old"));
};

const char* const kSetDataPerServer = "Failed to set data for 'MaxConnectionsPerServer'";

INSTANTIATE_TEST_SUITE_P(
    Matrix, RegistryFaults,
    ::testing::Values(
        // Start-up reads, and the repair write.
        FaultCase{
            "StartupRead",
            "NoRights",
            [](RegistryFaults& t) { t.sim.registry.DenyAccess(RootKey::CurrentConfig, kSettings); },
            kLaunch,
            {},
            {},
            kRepaired},
        FaultCase{"StartupRead",
                  "ValueMissing",
                  [](RegistryFaults& t) { t.RemoveSetting(kMaxConnectionsPerServer); },
                  kLaunch,
                  Pair("CC", 6, 6),
                  {},
                  kRepaired},
        FaultCase{"StartupRead",
                  "WrongType",
                  [](RegistryFaults& t) {
                    t.PutSetting(kMaxConnectionsPerServer, sim::StringValue("20"));
                  },
                  kLaunch,
                  Pair("CC", 6, 6),
                  {},
                  kRepaired},
        FaultCase{"StartupRead",
                  "DWordOfTheWrongSize",
                  [](RegistryFaults& t) {
                    t.PutSetting(kMaxConnectionsPer1_0Server, RegValue{ValueType::DWord, {4, 0}});
                  },
                  kLaunch,
                  Pair("CC", 6, 6),
                  {},
                  kRepaired},
        FaultCase{"StartupRead",
                  "TypeOfTheWrongType",
                  [](RegistryFaults& t) { t.PutSetting(kConnectionTypeValue, sim::DWordValue(5)); },
                  kLaunch,
                  Pair("CC", 6, 6),
                  {},
                  kRepaired},
        FaultCase{"StartupRead",
                  "TypeMissing",
                  [](RegistryFaults& t) { t.RemoveSetting(kConnectionTypeValue); },
                  kLaunch,
                  {},
                  {},
                  kRepaired},
        FaultCase{"StartupRead",
                  "StringWithoutTerminator",
                  [](RegistryFaults& t) {
                    t.PutSetting(kConnectionTypeValue,
                                 RegValue{ValueType::String, {'C', 'a', 'b', 'l', 'e'}});
                  },
                  kLaunch,
                  {},
                  {},
                  [](RegistryFaults& t) {
                    EXPECT_EQ(t.form->CB->Text(), "Cable");
                    EXPECT_EQ(t.form->LimitPerServer, 20);
                  }},
        FaultCase{"StartupRead",
                  "VeryLongString",
                  [](RegistryFaults& t) {
                    t.PutSetting(kConnectionTypeValue, sim::StringValue(std::string(70000, 'C')));
                  },
                  kLaunch,
                  {},
                  {},
                  [](RegistryFaults& t) {
                    EXPECT_EQ(t.form->CB->Text().size(), 70000u);
                    EXPECT_EQ(t.form->LimitPerServer, 6);
                    EXPECT_EQ(t.form->LimitPer1_0Server, 6);
                  }},
        FaultCase{"StartupRepairWrite",
                  "FailingOnce",
                  [](RegistryFaults& t) {
                    t.PutSetting(kMaxConnectionsPerServer, RegValue{ValueType::Binary, {1}});
                    t.sim.registry.FailWrites(kMaxConnectionsPerServer, 1);
                  },
                  kLaunch,
                  {},
                  {kSetDataPerServer},
                  [](RegistryFaults& t) {
                    // The rest of start-up is skipped; the window opens all the same.
                    EXPECT_EQ(t.form->LimitPer1_0Server, 6);
                    EXPECT_TRUE(t.form->Visible());
                  }},
        FaultCase{"StartupRepairWrite",
                  "FailingTwice",
                  [](RegistryFaults& t) {
                    t.PutSetting(kMaxConnectionsPerServer, RegValue{ValueType::Binary, {1}});
                    t.sim.registry.FailWrites(kMaxConnectionsPerServer, 2);
                  },
                  kLaunch,
                  {},
                  {kSetDataPerServer},
                  [](RegistryFaults& t) { EXPECT_EQ(t.form->LimitPer1_0Server, 6); }},

        // The pair under HKEY_CURRENT_USER.
        FaultCase{
            "WriteLimitsUser",
            "NoRights",
            [](RegistryFaults& t) { t.sim.registry.DenyAccess(RootKey::CurrentUser, kSettings); },
            kLaunchAndAccelerate,
            Pair("CC", 20, 20),
            {},
            kAccelerated},
        FaultCase{"WriteLimitsUser",
                  "FailingOnce",
                  [](RegistryFaults& t) {
                    t.sim.registry.FailWrites(kMaxConnectionsPerServer, 1, regstatus::kAccessDenied,
                                              RootKey::CurrentUser);
                  },
                  kLaunchAndAccelerate,
                  Join({Pair("CU", 20, 20), Pair("CC", 20, 20)}),
                  {},
                  kAccelerated},
        FaultCase{"WriteLimitsUser",
                  "FailingTwice",
                  [](RegistryFaults& t) {
                    t.sim.registry.FailWrites(kMaxConnectionsPerServer, 2, regstatus::kAccessDenied,
                                              RootKey::CurrentUser);
                  },
                  kLaunchAndAccelerate,
                  {},
                  {kSetDataPerServer},
                  kAccelerateStopped},
        FaultCase{"WriteLimitsUser",
                  "SecondValueFailingOnce",
                  [](RegistryFaults& t) {
                    t.sim.registry.FailWrites(kMaxConnectionsPer1_0Server, 1,
                                              regstatus::kAccessDenied, RootKey::CurrentUser);
                  },
                  kLaunchAndAccelerate,
                  Join({{"CU MaxConnectionsPerServer=20"}, Pair("CU", 20, 20), Pair("CC", 20, 20)}),
                  {},
                  kAccelerated},

        // The pair under HKEY_CURRENT_CONFIG.
        FaultCase{
            "WriteLimitsConfig",
            "NoRights",
            [](RegistryFaults& t) { t.sim.registry.DenyAccess(RootKey::CurrentConfig, kSettings); },
            kLaunchAndAccelerate,
            Pair("CU", 6, 8),
            {},
            kAccelerated},
        FaultCase{"WriteLimitsConfig",
                  "FailingOnce",
                  [](RegistryFaults& t) {
                    t.sim.registry.FailWrites(kMaxConnectionsPerServer, 1, regstatus::kAccessDenied,
                                              RootKey::CurrentConfig);
                  },
                  kLaunchAndAccelerate,
                  Join({Pair("CU", 20, 20), Pair("CC", 20, 20)}),
                  {},
                  kAccelerated},
        FaultCase{"WriteLimitsConfig",
                  "FailingTwice",
                  [](RegistryFaults& t) {
                    t.sim.registry.FailWrites(kMaxConnectionsPerServer, 2, regstatus::kAccessDenied,
                                              RootKey::CurrentConfig);
                  },
                  kLaunchAndAccelerate,
                  Pair("CU", 20, 20),
                  {kSetDataPerServer},
                  kAccelerateStopped},

        // The stored connection type.
        FaultCase{
            "ConnectionType",
            "NoRights",
            [](RegistryFaults& t) { t.sim.registry.DenyAccess(RootKey::CurrentConfig, kSettings); },
            kLaunchAndSelectCable,
            Pair("CU", 20, 20),
            {},
            [](RegistryFaults& t) { EXPECT_EQ(t.form->CB->Text(), "Cable"); }},
        FaultCase{"ConnectionType",
                  "FailingOnce",
                  [](RegistryFaults& t) { t.sim.registry.FailWrites(kConnectionTypeValue, 1); },
                  kLaunchAndSelectCable,
                  Join({Pair("CU", 20, 20), Pair("CC", 20, 20), {"CC ConnectionType=Cable"}}),
                  {},
                  kNothing},
        FaultCase{"ConnectionType",
                  "FailingTwice",
                  [](RegistryFaults& t) { t.sim.registry.FailWrites(kConnectionTypeValue, 2); },
                  kLaunchAndSelectCable,
                  Join({Pair("CU", 20, 20), Pair("CC", 20, 20)}),
                  {"Failed to set data for 'ConnectionType'"},
                  kNothing},

        // The Run value, where there is no task service: written by a check,
        // deleted by an uncheck, read at start-up.
        FaultCase{"RunWrite",
                  "NoRights",
                  [](RegistryFaults& t) {
                    kWithoutTaskService(t);
                    t.sim.registry.DenyAccess(RootKey::LocalMachine, kRun);
                  },
                  kLaunchAndCheck,
                  {},
                  {},
                  [](RegistryFaults& t) {
                    EXPECT_TRUE(t.form->CheckBox1->Checked());
                    EXPECT_FALSE(t.RunValuePresent());
                  }},
        FaultCase{"RunWrite",
                  "FailingOnce",
                  [](RegistryFaults& t) {
                    kWithoutTaskService(t);
                    t.sim.registry.FailWrites("Velocane", 1);
                  },
                  kLaunchAndCheck,
                  {"LM Velocane=" + kRunData},
                  {},
                  kNothing},
        FaultCase{"RunWrite",
                  "FailingTwice",
                  [](RegistryFaults& t) {
                    kWithoutTaskService(t);
                    t.sim.registry.FailWrites("Velocane", 2);
                  },
                  kLaunchAndCheck,
                  {},
                  {"Failed to set data for 'Velocane'"},
                  [](RegistryFaults& t) { EXPECT_TRUE(t.form->CheckBox1->Checked()); }},
        FaultCase{"RunDelete",
                  "Failing",
                  [](RegistryFaults& t) {
                    kWithoutTaskService(t);
                    kPresentRun(t);
                    t.sim.registry.FailDeletes("Velocane", 1);
                  },
                  [](RegistryFaults& t) {
                    t.Launch();
                    t.form->CheckBox1->UserClick();
                  },
                  {"LM Velocane=" + kRunData},
                  {},
                  [](RegistryFaults& t) {
                    EXPECT_FALSE(t.form->CheckBox1->Checked());
                    EXPECT_TRUE(t.RunValuePresent());  // the refusal is not reported
                  }},
        FaultCase{"RunRead",
                  "NoRights",
                  [](RegistryFaults& t) {
                    kWithoutTaskService(t);
                    kPresentRun(t);
                    t.sim.registry.DenyAccess(RootKey::LocalMachine, kRun);
                  },
                  kLaunch,
                  {},
                  {},
                  [](RegistryFaults& t) { EXPECT_FALSE(t.form->CheckBox1->Checked()); }},
        FaultCase{"RunRead",
                  "ValueMissing",
                  kWithoutTaskService,
                  kLaunch,
                  {},
                  {},
                  [](RegistryFaults& t) { EXPECT_FALSE(t.form->CheckBox1->Checked()); }},
        FaultCase{"RunRead",
                  "WrongType",
                  [](RegistryFaults& t) {
                    kWithoutTaskService(t);
                    t.sim.registry.Put(RootKey::LocalMachine, kRun, "Velocane", sim::DWordValue(1));
                  },
                  kLaunch,
                  {"LM Velocane=" + kRunData},
                  {},
                  [](RegistryFaults& t) { EXPECT_TRUE(t.form->CheckBox1->Checked()); }},
        FaultCase{"RunRead",
                  "VeryLongString",
                  [](RegistryFaults& t) {
                    kWithoutTaskService(t);
                    t.sim.registry.Put(RootKey::LocalMachine, kRun, "Velocane",
                                       sim::StringValue(std::string(70000, 'x')));
                  },
                  kLaunch,
                  {"LM Velocane=" + kRunData},
                  {},
                  kNothing},
        FaultCase{"RunRead",
                  "RewriteFailingTwice",
                  [](RegistryFaults& t) {
                    kWithoutTaskService(t);
                    kPresentRun(t);
                    t.sim.registry.FailWrites("Velocane", 2);
                  },
                  kLaunch,
                  {},
                  {},
                  [](RegistryFaults& t) {
                    EXPECT_TRUE(t.form->CheckBox1->Checked());
                    EXPECT_TRUE(t.RunValuePresent());
                  }},
        // An earlier version's Run value, removed once the task is registered.
        FaultCase{"RunRemove",
                  "Failing",
                  [](RegistryFaults& t) {
                    kPresentRun(t);
                    t.sim.registry.FailDeletes("Velocane", 1);
                  },
                  kLaunch,
                  {},
                  {},
                  [](RegistryFaults& t) {
                    EXPECT_TRUE(t.form->CheckBox1->Checked());
                    EXPECT_TRUE(t.sim.task_scheduler.tasks.contains("Velocane"));
                    EXPECT_TRUE(t.RunValuePresent());  // the refusal is not reported
                  }}),
    [](const ::testing::TestParamInfo<FaultCase>& info) {
      return std::string(info.param.place) + "_" + info.param.fault;
    });

TEST_P(RegistryFaults, DoesWhatIsSpecifiedAndWritesNothingElse) {
  const FaultCase& c = GetParam();
  c.arrange(*this);
  c.act(*this);
  EXPECT_EQ(WritesSeen(), c.writes);
  EXPECT_EQ(BoxesSeen(), c.boxes);
  for (const auto& box : Boxes()) EXPECT_EQ(box.caption, "Velocane 3.12");
  c.check(*this);
  EXPECT_EQ(sim.registry.OpenHandles(), 0);
}

}  // namespace
}  // namespace velocane::testing
