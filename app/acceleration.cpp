// The acceleration: the connection limits in the registry, chosen by connection type.
#include "app/ObServeUnit.h"
#include "app/connection_types.h"
#include "app/registry_retry.h"
#include "platform/framework/exceptions.h"
#include "platform/framework/registry.h"

namespace velocane {

void TForm1::Wait(unsigned milliseconds) { Os().process.Sleep(milliseconds); }

void TForm1::WriteLimits(RootKey root, std::int32_t per_server, std::int32_t per_1_0_server) {
  TRegistry reg(Os().registry, root);
  if (!reg.OpenKey(kInternetSettingsKey, true)) return;
  WriteWithRetry([&] {
    reg.WriteInteger(kMaxConnectionsPerServer, per_server);
    reg.WriteInteger(kMaxConnectionsPer1_0Server, per_1_0_server);
  });
}

void TForm1::ApplyAcceleration() {
  WriteLimits(RootKey::CurrentUser, LimitPerServer, LimitPer1_0Server);
  WriteLimits(RootKey::CurrentConfig, LimitPerServer, LimitPer1_0Server);
}

void TForm1::RemoveAcceleration() {
  WriteLimits(RootKey::CurrentUser, kDefaultPerServer, kDefaultPer1_0Server);
  WriteLimits(RootKey::CurrentConfig, kDefaultPerServer, kDefaultPer1_0Server);
}

void TForm1::StepGauge(TSpeedButton* button, const std::function<void(int step)>& wait) {
  button->SetEnabled(false);
  CheckBox1->Hide();
  AG->Show();
  for (int n = 0; n <= 100; ++n) {
    wait(n);
    AG->SetPercentage(n);
  }
  AG->Hide();
  CheckBox1->Show();
}

void TForm1::SpeedButton1Click(TComponent&) {
  StepGauge(SpeedButton1, [this](int n) {
    Wait(1 + random_.Next(5));
    if (n == 60) Wait(1700);
    if (n == 85) Wait(1100);
  });
  ApplyAcceleration();
  SpeedButton1->SetEnabled(true);
  Label1->SetCaption("Acceleration successfully!");
  CT1->SetCycleIcons(true);
}

void TForm1::SpeedButton3Click(TComponent&) {
  StepGauge(SpeedButton3, [this](int) { Wait(1 + random_.Next(360)); });
  RemoveAcceleration();
  SpeedButton3->SetEnabled(true);
  Label1->SetCaption("Acceleration removed.");
  CT1->SetCycleIcons(false);
}

void TForm1::CBSelect(TComponent&) {
  for (const ConnectionType& row : ConnectionTypes()) {
    if (CB->Text().find(row.word) == std::string::npos) continue;
    CB->SetText(std::string(row.name));
    Memo2->SetFocus();
    LimitPerServer = row.per_server;
    LimitPer1_0Server = row.per_1_0_server;
  }
  SpeedButton1->Click();
  TRegistry reg(Os().registry, RootKey::CurrentConfig);
  if (!reg.OpenKey(kInternetSettingsKey, true)) return;
  WriteWithRetry([&] { reg.WriteString(kConnectionTypeValue, CB->Text()); });
}

}  // namespace velocane
