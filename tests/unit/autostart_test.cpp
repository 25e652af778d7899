// The autostart check box and the Run value it writes and deletes.
#include "tests/unit/program_fixture.h"

namespace velocane::testing {
namespace {

const std::string kRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

class Autostart : public ProgramTest {
 protected:
  std::optional<std::string> RunValue() const {
    const RegValue* value = sim.registry.Find(RootKey::LocalMachine, kRun, "Velocane");
    if (value == nullptr) return std::nullopt;
    EXPECT_EQ(value->type, ValueType::String);
    return std::string(value->data.begin(), std::find(value->data.begin(), value->data.end(), 0));
  }
  void StartAt(const std::string& exe) {
    sim.process.module_file_name = exe;
    Start("\"" + exe + "\"").Show();
  }
};

TEST_F(Autostart, RunValueQuotesThePathAndAddsTheSwitch) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Program Files\\Velocane\\velocane.exe",
       "\"C:\\Program Files\\Velocane\\velocane.exe\" /Auto"},
      {"C:\\Tools\\velocane.exe", "\"C:\\Tools\\velocane.exe\" /Auto"},
  };
  for (const auto& [exe, data] : cases) {
    SCOPED_TRACE(exe);
    app.reset();
    StartAt(exe);
    form->CheckBox1->UserClick();
    EXPECT_TRUE(form->CheckBox1->Checked());
    EXPECT_EQ(RunValue(), data);
    form->CheckBox1->UserClick();
    EXPECT_FALSE(form->CheckBox1->Checked());
    EXPECT_EQ(RunValue(), std::nullopt);
  }
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(Autostart, BoxMirrorsTheValueAndStartUpRewritesItForThisExecutable) {
  StartAt("C:\\Old Place\\velocane.exe");
  EXPECT_FALSE(form->CheckBox1->Checked());
  form->CheckBox1->UserClick();
  app.reset();
  StartAt("D:\\New Place\\velocane.exe");  // the program was moved
  EXPECT_TRUE(form->CheckBox1->Checked());
  EXPECT_EQ(RunValue(), "\"D:\\New Place\\velocane.exe\" /Auto");
}

TEST_F(Autostart, UncheckingWithoutAValueReportsNothing) {
  StartAt("C:\\velocane.exe");
  form->CheckBox1->SetChecked(true);
  sim.registry.Put(RootKey::LocalMachine, kRun, "Other", sim::StringValue("x"));
  {
    std::unique_ptr<RegistryKey> key;
    sim.registry.OpenKey(RootKey::LocalMachine, kRun, false, &key);
    key->DeleteValue("Velocane");
  }
  form->CheckBox1->UserClick();
  EXPECT_FALSE(form->CheckBox1->Checked());
  EXPECT_TRUE(Boxes().empty());
  EXPECT_NE(sim.registry.Find(RootKey::LocalMachine, kRun, "Other"), nullptr);
}

TEST_F(Autostart, WithoutRightsOnlyTheBoxChanges) {
  sim.registry.Put(RootKey::LocalMachine, kRun, "Velocane", sim::StringValue("old"));
  sim.registry.DenyAccess(RootKey::LocalMachine, kRun);
  StartAt("C:\\velocane.exe");
  EXPECT_FALSE(form->CheckBox1->Checked());  // the key could not be read
  form->CheckBox1->UserClick();
  EXPECT_TRUE(form->CheckBox1->Checked());
  form->CheckBox1->UserClick();
  EXPECT_EQ(RunValue(), "old");
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(Autostart, SecondFailedWriteAfterAClickIsShownAndTheBoxStaysChecked) {
  StartAt("C:\\velocane.exe");
  sim.registry.FailWrites("Velocane", 1);
  form->CheckBox1->UserClick();
  EXPECT_EQ(RunValue(), "\"C:\\velocane.exe\" /Auto");  // repeated once
  form->CheckBox1->UserClick();
  sim.registry.FailWrites("Velocane", 2);
  form->CheckBox1->UserClick();
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].text, "Failed to set data for 'Velocane'");
  EXPECT_EQ(Boxes()[0].caption, "Velocane 3.12");
  EXPECT_TRUE(form->CheckBox1->Checked());
}

TEST_F(Autostart, FailedRewriteAtStartUpIsIgnored) {
  sim.registry.Put(RootKey::LocalMachine, kRun, "Velocane", sim::StringValue("old"));
  sim.registry.FailWrites("Velocane", 2);
  StartAt("C:\\velocane.exe");
  EXPECT_TRUE(form->CheckBox1->Checked());
  EXPECT_EQ(RunValue(), "old");
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(Autostart, SwitchAloneDecidesTheAutomaticStart) {
  Start("velocane.exe /Auto");
  EXPECT_FALSE(form->CheckBox1->Checked());
  sim.windowing.RunFor(1500);
  EXPECT_EQ(form->Label1->Caption(), "Acceleration successfully!");
}

}  // namespace
}  // namespace velocane::testing
