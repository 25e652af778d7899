// The start at log-on: the task the check box registers and deletes, the Run
// value of earlier versions it replaces, and the Run value where there is no
// task service.
#include <tinyxml2.h>

#include "tests/support/program_fixture.h"

namespace velocane::testing {
namespace {

using sim::TaskCall;

const std::string kRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

class Autostart : public ProgramTest {
 protected:
  std::optional<std::string> RunValue() const {
    const RegValue* value = sim.registry.Find(RootKey::LocalMachine, kRun, "Velocane");
    if (value == nullptr) return std::nullopt;
    EXPECT_EQ(value->type, ValueType::String);
    return std::string(value->data.begin(), std::find(value->data.begin(), value->data.end(), 0));
  }
  std::optional<std::string> Task() const {
    const auto task = sim.task_scheduler.tasks.find("Velocane");
    if (task == sim.task_scheduler.tasks.end()) return std::nullopt;
    return task->second;
  }
  // Start-up, and the first turns of the message loop after the window is shown.
  void StartAt(const std::string& exe) {
    app.reset();
    sim.process.module_file_name = exe;
    Start("\"" + exe + "\"").Show();
    sim.windowing.ProcessPendingMessages();
  }
  void Restart() { StartAt(sim.process.module_file_name); }
  void PutRunValue(const std::string& data = "\"C:\\Old\\velocane.exe\" /Auto") {
    sim.registry.Put(RootKey::LocalMachine, kRun, "Velocane", sim::StringValue(data));
  }
};

// The text of the element at `path` (names separated by '/') below `from`;
// nullopt where there is no such element.
std::optional<std::string> Text(const tinyxml2::XMLElement* from, const std::string& path) {
  std::size_t begin = 0;
  while (from != nullptr && begin <= path.size()) {
    const std::size_t end = std::min(path.find('/', begin), path.size());
    from = from->FirstChildElement(path.substr(begin, end - begin).c_str());
    begin = end + 1;
  }
  if (from == nullptr) return std::nullopt;
  return from->GetText() != nullptr ? from->GetText() : "";
}

TEST_F(Autostart, RegisteredDefinitionStartsThisExecutableAtEveryLogOnWithTheHighestRights) {
  // The path as the wide call reads it, in UTF-8: characters outside the ANSI
  // code page and the XML's own special characters survive.
  const char* const paths[] = {
      "C:\\Program Files\\Velocane\\velocane.exe",
      "D:\\Outils \xd0\x9f\xd1\x80\xd0\xbe\xd0\xb3\xd1\x80\xd0\xb0\xd0\xbc\xd0\xbc\xd1\x8b\\"
      "\xe5\xb7\xa5\xe5\x85\xb7 & <Co> 'x' \"y\"\\velocane.exe",
  };
  for (const char* path : paths) {
    SCOPED_TRACE(path);
    sim.task_scheduler.tasks.clear();
    sim.process.wide_module_file_name = path;
    Restart();
    form->CheckBox1->UserClick();
    ASSERT_TRUE(Task().has_value());

    tinyxml2::XMLDocument document;
    ASSERT_EQ(document.Parse(Task()->c_str()), tinyxml2::XML_SUCCESS) << *Task();
    const tinyxml2::XMLElement* task = document.RootElement();
    ASSERT_NE(task, nullptr);
    EXPECT_STREQ(task->Name(), "Task");
    EXPECT_STREQ(task->Attribute("xmlns"), "http://schemas.microsoft.com/windows/2004/02/mit/task");
    EXPECT_STREQ(task->Attribute("version"), "1.2");

    // One log-on trigger, for any user, a few seconds after the log-on.
    const tinyxml2::XMLElement* triggers = task->FirstChildElement("Triggers");
    ASSERT_NE(triggers, nullptr);
    const tinyxml2::XMLElement* logon = triggers->FirstChildElement();
    ASSERT_NE(logon, nullptr);
    EXPECT_STREQ(logon->Name(), "LogonTrigger");
    EXPECT_EQ(logon->NextSiblingElement(), nullptr);
    EXPECT_EQ(Text(logon, "UserId"), std::nullopt);
    EXPECT_EQ(Text(logon, "Enabled"), "true");
    EXPECT_EQ(Text(logon, "Delay"), "PT5S");

    // The members of Users, each with the token of their own log-on at the
    // highest level it has: elevated for an administrator, without a prompt.
    const tinyxml2::XMLElement* principal = task->FirstChildElement("Principals");
    ASSERT_NE(principal, nullptr);
    principal = principal->FirstChildElement("Principal");
    ASSERT_NE(principal, nullptr);
    EXPECT_EQ(Text(principal, "GroupId"), "S-1-5-32-545");
    EXPECT_EQ(Text(principal, "UserId"), std::nullopt);
    EXPECT_EQ(Text(principal, "LogonType"), std::nullopt);
    EXPECT_EQ(Text(principal, "RunLevel"), "HighestAvailable");

    // The running executable with the switch, in the principal's context.
    const tinyxml2::XMLElement* actions = task->FirstChildElement("Actions");
    ASSERT_NE(actions, nullptr);
    EXPECT_STREQ(actions->Attribute("Context"), principal->Attribute("id"));
    EXPECT_EQ(Text(actions, "Exec/Command"), path);
    EXPECT_EQ(Text(actions, "Exec/Arguments"), "/Auto");
    EXPECT_EQ(actions->FirstChildElement("Exec")->NextSiblingElement(), nullptr);

    // What a tray program needs of its task.
    EXPECT_EQ(Text(task, "Settings/DisallowStartIfOnBatteries"), "false");
    EXPECT_EQ(Text(task, "Settings/StopIfGoingOnBatteries"), "false");
    EXPECT_EQ(Text(task, "Settings/ExecutionTimeLimit"), "PT0S");
    EXPECT_EQ(Text(task, "Settings/MultipleInstancesPolicy"), "IgnoreNew");
    EXPECT_EQ(Text(task, "Settings/AllowStartOnDemand"), "true");
    EXPECT_EQ(Text(task, "Settings/Enabled"), "true");
    EXPECT_EQ(Text(task, "Settings/Priority"), "4");  // an interactive program's, not 7
  }
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(Autostart, BoxMirrorsTheTaskAndStartUpRegistersItAgainForThisExecutable) {
  StartAt("C:\\Old Place\\velocane.exe");
  EXPECT_FALSE(form->CheckBox1->Checked());
  EXPECT_EQ(sim.task_scheduler.Calls(TaskCall::kRegister), 0);
  form->CheckBox1->UserClick();
  EXPECT_TRUE(form->CheckBox1->Checked());
  StartAt("D:\\New Place\\velocane.exe");  // the program was moved
  EXPECT_TRUE(form->CheckBox1->Checked());
  ASSERT_TRUE(Task().has_value());
  EXPECT_NE(Task()->find("<Command>D:\\New Place\\velocane.exe</Command>"), std::string::npos);
  EXPECT_EQ(sim.task_scheduler.Calls(TaskCall::kRegister), 2);

  form->CheckBox1->UserClick();
  EXPECT_FALSE(form->CheckBox1->Checked());
  EXPECT_EQ(Task(), std::nullopt);
  Restart();
  EXPECT_FALSE(form->CheckBox1->Checked());
  // Unchecking again, with nothing left to delete, reports nothing.
  form->CheckBox1->SetChecked(true);
  sim.task_scheduler.tasks.clear();
  form->CheckBox1->UserClick();
  EXPECT_FALSE(form->CheckBox1->Checked());
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(RunValue(), std::nullopt);  // the task service was there: no Run value at all
}

TEST_F(Autostart, WithoutRightsOrServiceOnlyTheBoxChanges) {
  const std::pair<const char*, HResult> failures[] = {
      {"access denied", taskstatus::kAccessDenied},
      {"service not running", taskstatus::kServiceNotRunning},
      {"service not installed", static_cast<HResult>(0x8004130Cu)},
  };
  for (const auto& [name, hr] : failures) {
    SCOPED_TRACE(name);
    sim.task_scheduler.tasks.clear();
    sim.task_scheduler.Fail(TaskCall::kConnect, hr, -1);
    Restart();
    EXPECT_FALSE(form->CheckBox1->Checked());
    form->CheckBox1->UserClick();
    EXPECT_TRUE(form->CheckBox1->Checked());
    EXPECT_EQ(Task(), std::nullopt);
    EXPECT_EQ(RunValue(), std::nullopt);  // no Run value in the task's place either
    Restart();
    EXPECT_FALSE(form->CheckBox1->Checked());
    // A task that is there cannot be deleted then: it stays, silently.
    sim.task_scheduler.tasks["Velocane"] = "<Task/>";
    form->CheckBox1->SetChecked(true);
    form->CheckBox1->UserClick();
    EXPECT_FALSE(form->CheckBox1->Checked());
    EXPECT_EQ(Task(), "<Task/>");
    EXPECT_EQ(sim.task_scheduler.Calls(TaskCall::kRegister), 0);
    EXPECT_TRUE(Boxes().empty());
    sim.task_scheduler.Fail(TaskCall::kConnect, 0, 0);
  }
}

TEST_F(Autostart, AServiceThatIsStillStartingIsAskedOnceMore) {
  StartAt("C:\\velocane.exe");
  sim.task_scheduler.Fail(TaskCall::kConnect, taskstatus::kServiceNotRunning, 1);
  form->CheckBox1->UserClick();
  EXPECT_TRUE(Task().has_value());
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(Autostart, StartUpShowsTheBoxCheckedAndRegistersOnlyAfterTheFirstPicture) {
  sim.task_scheduler.tasks["Velocane"] = "<Task/>";
  sim.process.module_file_name = "D:\\Moved\\velocane.exe";
  Start("velocane.exe").Show();
  EXPECT_TRUE(form->CheckBox1->Checked());
  // Start-up asked the service once, for the look-up, and registered nothing yet.
  EXPECT_EQ(sim.task_scheduler.Calls(TaskCall::kConnect), 1);
  EXPECT_EQ(sim.task_scheduler.Calls(TaskCall::kRegister), 0);
  sim.windowing.ProcessPendingMessages();
  EXPECT_EQ(sim.task_scheduler.Calls(TaskCall::kRegister), 1);
  EXPECT_NE(Task()->find("<Command>D:\\Moved\\velocane.exe</Command>"), std::string::npos);
  // A user's click after that is no start-up any more: it registers at once.
  form->CheckBox1->UserClick();
  form->CheckBox1->UserClick();
  EXPECT_EQ(sim.task_scheduler.Calls(TaskCall::kRegister), 2);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(Autostart, RegistrationIsMadeOnceMoreAndASecondFailureAfterAClickIsShown) {
  StartAt("C:\\velocane.exe");
  sim.task_scheduler.Fail(TaskCall::kRegister, taskstatus::kAccessDenied, 1);
  form->CheckBox1->UserClick();
  EXPECT_TRUE(Task().has_value());
  EXPECT_TRUE(Boxes().empty());

  form->CheckBox1->UserClick();
  PutRunValue();
  sim.task_scheduler.Fail(TaskCall::kRegister, taskstatus::kAccessDenied, 2);
  form->CheckBox1->UserClick();
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].text, "Failed to register the log-on task 'Velocane': Access is denied.");
  EXPECT_EQ(Boxes()[0].caption, "Velocane 3.12");
  EXPECT_EQ(Boxes()[0].flags, mb::kOk | mb::kIconError);
  EXPECT_TRUE(form->CheckBox1->Checked());
  EXPECT_EQ(Task(), std::nullopt);
  // Nothing replaced the earlier start: the Run value stays.
  EXPECT_TRUE(RunValue().has_value());
}

TEST_F(Autostart, FailuresAtStartUpAreIgnoredAndStartUpGoesOn) {
  sim.task_scheduler.tasks["Velocane"] = "<Task/>";
  sim.task_scheduler.Fail(TaskCall::kRegister, taskstatus::kAccessDenied, 2);
  StartAt("C:\\velocane.exe");
  EXPECT_TRUE(form->CheckBox1->Checked());
  EXPECT_EQ(Task(), "<Task/>");
  EXPECT_EQ(form->CB->Text(), "AUTO");  // the rest of start-up ran
  EXPECT_TRUE(Boxes().empty());

  // A task that cannot be read counts as absent.
  sim.task_scheduler.Fail(TaskCall::kGetTask, taskstatus::kAccessDenied, 1);
  Restart();
  EXPECT_FALSE(form->CheckBox1->Checked());
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(Autostart, AnEarlierVersionsRunValueGivesWayToTheTask) {
  // At start-up: the box shows the start the user asked for, and the task
  // takes the Run value's place, so the program never starts twice.
  PutRunValue();
  StartAt("C:\\Program Files\\Velocane\\velocane.exe");
  EXPECT_TRUE(form->CheckBox1->Checked());
  EXPECT_TRUE(Task().has_value());
  EXPECT_EQ(RunValue(), std::nullopt);

  // A Run value that appears while the task is there goes at the next
  // registration; unchecking removes both.
  PutRunValue();
  form->CheckBox1->UserClick();
  EXPECT_EQ(Task(), std::nullopt);
  EXPECT_EQ(RunValue(), std::nullopt);
  PutRunValue();
  form->CheckBox1->UserClick();
  EXPECT_TRUE(Task().has_value());
  EXPECT_EQ(RunValue(), std::nullopt);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(Autostart, SwitchAloneDecidesTheAutomaticStart) {
  Start("velocane.exe /Auto");
  EXPECT_FALSE(form->CheckBox1->Checked());
  sim.windowing.RunFor(1500);
  EXPECT_EQ(form->Label1->Caption(), "Acceleration successfully!");
}

// Where Task Scheduler 2.0 is not there (Windows XP and 2003), the Run value
// does what the task does elsewhere.
class AutostartWithoutTaskService : public Autostart {
 protected:
  void SetUp() override { sim.task_scheduler.installed = false; }
  void TearDown() override {
    EXPECT_EQ(sim.task_scheduler.Calls(TaskCall::kRegister), 0);
    EXPECT_TRUE(sim.task_scheduler.tasks.empty());
  }
};

TEST_F(AutostartWithoutTaskService, RunValueQuotesThePathAndAddsTheSwitch) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Program Files\\Velocane\\velocane.exe",
       "\"C:\\Program Files\\Velocane\\velocane.exe\" /Auto"},
      {"C:\\Tools\\velocane.exe", "\"C:\\Tools\\velocane.exe\" /Auto"},
  };
  for (const auto& [exe, data] : cases) {
    SCOPED_TRACE(exe);
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

TEST_F(AutostartWithoutTaskService, BoxMirrorsTheValueAndStartUpRewritesItForThisExecutable) {
  StartAt("C:\\Old Place\\velocane.exe");
  EXPECT_FALSE(form->CheckBox1->Checked());
  form->CheckBox1->UserClick();
  StartAt("D:\\New Place\\velocane.exe");
  EXPECT_TRUE(form->CheckBox1->Checked());
  EXPECT_EQ(RunValue(), "\"D:\\New Place\\velocane.exe\" /Auto");
}

TEST_F(AutostartWithoutTaskService, UncheckingWithoutAValueReportsNothing) {
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

TEST_F(AutostartWithoutTaskService, WithoutRightsOnlyTheBoxChanges) {
  PutRunValue("old");
  sim.registry.DenyAccess(RootKey::LocalMachine, kRun);
  StartAt("C:\\velocane.exe");
  EXPECT_FALSE(form->CheckBox1->Checked());  // the key could not be read
  form->CheckBox1->UserClick();
  EXPECT_TRUE(form->CheckBox1->Checked());
  form->CheckBox1->UserClick();
  EXPECT_EQ(RunValue(), "old");
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(AutostartWithoutTaskService, SecondFailedWriteAfterAClickIsShownAndTheBoxStaysChecked) {
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

TEST_F(AutostartWithoutTaskService, FailedRewriteAtStartUpIsIgnored) {
  PutRunValue("old");
  sim.registry.FailWrites("Velocane", 2);
  StartAt("C:\\velocane.exe");
  EXPECT_TRUE(form->CheckBox1->Checked());
  EXPECT_EQ(RunValue(), "old");
  EXPECT_TRUE(Boxes().empty());
}

}  // namespace
}  // namespace velocane::testing
