#pragma once
// The main window: the connection-type choice, the command buttons, the status
// line and the controls of the features that are wired in step by step.
#include <cstdint>
#include <string>

#include "app/random_waits.h"
#include "components/RegInstance.h"
#include "components/vex/vextgauge.h"
#include "platform/framework/application.h"
#include "platform/framework/comctrls.h"
#include "platform/framework/forms.h"
#include "platform/framework/graphctrls.h"
#include "platform/framework/menus.h"
#include "platform/framework/stdctrls.h"
#include "platform/framework/timer.h"

namespace velocane {

// The colour of the panels, memos, combo box and check box: red 128, green 128, blue 192.
constexpr Color kSlate = 12615808;

class TForm1 : public TForm {
 public:
  explicit TForm1(TApplication& application);

  // Controls, owned by the form (component ownership); listed in stacking order.
  TListView* ListView1;
  TPanel* Panel1;
  TSpeedButton* SpeedButton3;
  TSpeedButton* SpeedButton1;
  TSpeedButton* SpeedButton2;
  TSpeedButton* SpeedButton4;
  TSpeedButton* Edit1;
  TLabel* Label1;
  TVexGauge* AG;
  TBitBtn* BitBtn1;
  TMemo* Memo1;
  TMemo* Memo2;
  TComboBox* CB;
  TCheckBox* CheckBox1;
  TBitBtn* BitBtn2;
  TBitBtn* BitBtn3;
  TPopupMenu* PopupMenu1;
  TTimer* Timer1;
  TTimer* Timer3;
  TPrevInst* PrevInst1;

  std::int32_t LimitPerServer = 0;
  std::int32_t LimitPer1_0Server = 0;
  std::string StoredConnectionType;

  // Start-up, minimize and restore, the hidden buttons, the close sequence.
  void FormCreate(TComponent& sender);
  void Timer3Timer(TComponent& sender);
  void SpeedButton4Click(TComponent& sender);
  void BitBtn1Click(TComponent& sender);
  void CT1Click(TComponent& sender);
  void BitBtn2Click(TComponent& sender);
  void Panel1Click(TComponent& sender);
  void FormCloseQuery(TComponent& sender, bool& can_close);
  void FormClose(TComponent& sender, TCloseAction& action);

  // The acceleration: the connection-type choice and the two commands.
  void CBSelect(TComponent& sender);
  void SpeedButton1Click(TComponent& sender);
  void SpeedButton3Click(TComponent& sender);
  void ApplyAcceleration();
  void RemoveAcceleration();
  void WriteLimits(RootKey root, std::int32_t per_server, std::int32_t per_1_0_server);

  // The autostart value.
  void CheckBox1Click(TComponent& sender);

 private:
  void CreateControls();
  void ConnectEvents();
  void ReadStoredState();
  void ReadAutostartState();
  // Waits while a command runs; the window handles no messages meanwhile.
  void Wait(unsigned milliseconds);
  Platform& Os() const { return Application()->Platform(); }

  TRandomGenerator random_;
};

// The Run value's data: the executable's path, quoted, and the switch.
std::string AutostartCommand(const std::string& executable);

}  // namespace velocane
