// Start-up, minimize and restore, the hidden buttons and the close sequence of the main window.
#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "app/ObServeUnit.h"
#include "app/connection_types.h"
#include "app/program.h"
#include "platform/framework/exceptions.h"
#include "platform/framework/params.h"
#include "platform/framework/registry.h"
#include "platform/messages.h"

namespace velocane {

void TForm1::FormCreate(TComponent&) {
  LimitPerServer = kInitialLimit;
  LimitPer1_0Server = kInitialLimit;
  // A copy that finds another one has already asked to end; it still starts up.
  PrevInst1->CheckPrevInst();
  if (ParamStr(Os().process.CommandLine(), 1) == "/Auto") Timer3->SetEnabled(true);
  InitTranslationPairs();
  ReadStoredState();
  if (StoredConnectionType.empty()) StoredConnectionType = "AUTO";
  CB->SetText(StoredConnectionType);
  if (const ConnectionType* type = FindConnectionType(StoredConnectionType)) {
    LimitPerServer = type->per_server;
    LimitPer1_0Server = type->per_1_0_server;
  }
  ReadAutostartState();
  InitTranslationBases();
}

void TForm1::ReadStoredState() {
  TRegistry reg(Os().registry, RootKey::CurrentConfig);
  if (!reg.OpenKey(kInternetSettingsKey, true)) return;
  // A broken pair is replaced by the current one, and the reads after it skipped.
  const auto write_pair = [&] {
    reg.WriteInteger(kMaxConnectionsPerServer, LimitPerServer);
    reg.WriteInteger(kMaxConnectionsPer1_0Server, LimitPer1_0Server);
  };
  try {
    // The two numbers are only checked.
    reg.ReadInteger(kMaxConnectionsPerServer);
    reg.ReadInteger(kMaxConnectionsPer1_0Server);
    StoredConnectionType = reg.ReadString(kConnectionTypeValue);
  } catch (const ERegistryException&) {
    write_pair();
  } catch (const EConvertError&) {
    write_pair();
  }
}

void TForm1::Timer3Timer(TComponent&) {
  Timer3->SetEnabled(false);
  SpeedButton1->Click();
  SpeedButton4->Click();
}

void TForm1::SpeedButton4Click(TComponent&) { BitBtn1->Click(); }

void TForm1::BitBtn1Click(TComponent&) {
  CT1->SetEnabled(true);
  CT1->SetIconVisible(true);
  Application()->Minimize();
  Hide();
}

void TForm1::CT1Click(TComponent&) {
  CT1->SetEnabled(false);
  CT1->SetIconVisible(false);
  Show();
  Application()->Restore();
}

void TForm1::BitBtn2Click(TComponent&) {
  const std::string path = Os().process.ModuleFileName();
  const std::size_t slash = path.find_last_of('\\');
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash);
  // Quoted, so a folder with blanks cannot start some other program first.
  Os().process.WinExec("\"" + folder + "\\Pellarin.exe\"", showcmd::kShowNormal);
  Application()->Minimize();
}

void TForm1::Panel1Click(TComponent&) {}

void TForm1::FormCloseQuery(TComponent&, bool& can_close) {
  // Closing is never refused, so a write that fails twice must not escape
  // and keep the window open: both roots are written as far as they can be,
  // before any box holds up a log-off, and then the user learns which value
  // kept its old number, once for each distinct failure.
  std::vector<std::exception_ptr> failures;
  std::vector<std::string> texts;
  for (const RootKey root : {RootKey::CurrentUser, RootKey::CurrentConfig}) {
    try {
      WriteLimits(root, kDefaultPerServer, kDefaultPer1_0Server);
    } catch (const std::exception& failed) {
      if (std::find(texts.begin(), texts.end(), failed.what()) != texts.end()) continue;
      texts.emplace_back(failed.what());
      failures.push_back(std::current_exception());
    }
  }
  can_close = true;
  for (const std::exception_ptr& failure : failures) Application()->ShowException(failure);
}

void TForm1::FormClose(TComponent&, TCloseAction&) {
  const int answer = Application()->MessageBox(
      "Shut down Velocane may reduce your Internet Explorer's surfing and downloading speed. "
      "The acceleration function is lost.  Do you really want to exit at this moment?",
      "Warning", mb::kYesNo);
  if (answer == idbutton::kNo) {
    Application()->MessageBox(
        "You have to start Velocane again to enable the acceleration function.", kApplicationTitle,
        mb::kOk);
  }
}

}  // namespace velocane
