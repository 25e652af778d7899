#pragma once
// The main window: the connection-type choice, the command buttons, the status
// line and the controls of the features that are wired in step by step.
#include <cstdint>
#include <functional>
#include <string>

#include "app/random_waits.h"
#include "app/translation_servers.h"
#include "components/NotifyAreaIcon.h"
#include "components/RegInstance.h"
#include "components/VisualStyle.h"
#include "components/uShellWindowObserver.h"
#include "components/vex/vextgauge.h"
#include "platform/framework/application.h"
#include "platform/framework/comctrls.h"
#include "platform/framework/forms.h"
#include "platform/framework/graphctrls.h"
#include "platform/framework/images.h"
#include "platform/framework/menus.h"
#include "platform/framework/stdctrls.h"
#include "platform/framework/timer.h"

namespace velocane {

class TForm1 : public TForm {
 public:
  explicit TForm1(TApplication& application);

  // Controls, owned by the form (component ownership); listed in stacking order.
  TListView* ListView1;        // the browser windows, uncovered for five seconds by View
  TPanel* Panel1;              // the slate panel with the buttons, the status line and the gauge
  TSpeedButton* SpeedButton3;  // "Stop": removes the acceleration
  TSpeedButton* SpeedButton1;  // "Accelerate": applies it
  TSpeedButton* SpeedButton2;  // "View": uncovers the browser window list
  TSpeedButton* SpeedButton4;  // "Minimize": into the notification area
  TSpeedButton* Edit1;         // "About": the about box
  TLabel* Label1;              // the status line
  TVexGauge* AG;               // the progress of Accelerate and Stop, hidden between them
  TBitBtn* BitBtn1;            // hidden; carries the minimize-to-tray action
  TMemo* Memo1;                // the title line
  TMemo* Memo2;                // the feature text
  TComboBox* CB;               // the connection type
  TCheckBox* CheckBox1;        // the autostart at log-on
  TBitBtn* BitBtn2;            // hidden; starts the sibling program
  TBitBtn* BitBtn3;            // hidden; the about box without hiding the window
  TPopupMenu* PopupMenu1;      // the memos' context menu, empty: a right click offers none
  TTimer* Timer1;              // covers the list again five seconds after View
  TTimer* Timer3;              // the one-shot automatic start after "/Auto"
  TPrevInst* PrevInst1;        // the single-instance guard
  TImageList* FlagImageList;   // the tray icon's two animation frames
  TNotifyAreaIcon* CT1;        // the notification-area icon, while minimized
  TVisualStyle* VisualStyle1;  // stands for the manifest's visual styles
  TShellWindowObserver* ShellWindowObserver1;  // follows the shell's browser windows
  // The page translation; created hidden, and nothing shows them.
  TComboBox* CB1;        // the source language
  TComboBox* CB2;        // the target language
  TComboBox* CBServer;   // the translation service
  TBitBtn* GoButton;     // "Translate   Now ": in the selected browser's window
  TBitBtn* NewButton;    // "Translate in New": in a new browser window
  TBitBtn* CloseButton;  // "Close selected": closes the selected browser

  // The pair the acceleration writes, and the connection type read at start-up.
  std::int32_t LimitPerServer = 0;
  std::int32_t LimitPer1_0Server = 0;
  std::string StoredConnectionType;

  // The translation settings.
  std::string SourceCode;
  std::string TargetCode;
  std::int32_t ServerNumber = 0;
  std::string Server1Pairs, Server2Pairs, Server3Pairs, Server4Pairs, Server5Pairs, Server6Pairs;
  std::string Server1Base, Server2Base, Server3Base, Server4Base, Server5Base, Server6Base,
      Server7Base;
  std::string Server2Tail;
  // The browser that received the last translation request; kept until the
  // next one or the end.
  BrowserRef TargetBrowser;

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

  // The start at log-on: the log-on task, or the Run value where there is no task service.
  void CheckBox1Click(TComponent& sender);

  // The about box: About hides the window meanwhile, the hidden button does not.
  void Edit1Click(TComponent& sender);
  void BitBtn3Click(TComponent& sender);

  // The browser window list and View.
  void ShellWindowObserver1AddedEntry(TComponent& Sender, TShellWindow& ShellWindow,
                                      const std::string& Str);
  void ShellWindowObserver1ChangedNumber(TComponent& Sender, int Number);
  void RefreshList();
  // The browser of the entry a row shows.
  BrowserRef BrowserOfItem(const TListItem& item) const;
  void SpeedButton2Click(TComponent& sender);
  void Timer1Timer(TComponent& sender);

  // The page translation.
  void CB1Select(TComponent& sender);
  void CB2Select(TComponent& sender);
  void CBServerSelect(TComponent& sender);
  std::string PairCode() const;
  std::string PairNames() const;
  std::string FromToQuery() const;
  // The request for a page address as the list shows it, or the refusal
  // closed by `wording`.
  TTranslationRequest BuildRequest(const std::string& page, const std::string& wording) const;
  void GoButtonClick(TComponent& sender);
  void NewButtonClick(TComponent& sender);
  void CloseButtonClick(TComponent& sender);

 private:
  void CreateControls();
  void ConnectEvents();
  void CreateBrowserTracking();
  void CreateTranslationControls();
  // The translation settings of start-up: the pairs and codes first, the
  // request prefixes at the end.
  void InitTranslationPairs();
  void InitTranslationBases();
  void ReadStoredState();
  void ReadAutostartState();
  // The start at log-on made as `wanted` says: the task (the Run value where
  // there is no task service); raises what a registration or a write raised.
  void ApplyAutostart(bool wanted);
  // The Run value: written or deleted as the box says, where there is no task service.
  void WriteRunValue(bool present);
  // Registers the log-on task for this executable (once more after a
  // failure), and removes the Run value it replaces.
  void RegisterLogonTask(TaskFolder& tasks);
  // An earlier version's Run value, removed once the task starts the program.
  void RemoveRunValue();
  bool RunValueExists();
  // Shows the about box modally and frees it.
  void ShowAboutBox();
  // Waits while a command runs; the window handles no messages meanwhile.
  void Wait(unsigned milliseconds);
  // The animation both commands share: `button` off, the check box hidden,
  // the gauge shown and stepped 0..100 with `wait` before each step, then
  // hidden again. The caller enables `button` when its command is done.
  void StepGauge(TSpeedButton* button, const std::function<void(int step)>& wait);
  Platform& Os() const { return Application()->Platform(); }

  TRandomGenerator random_;
  // Whether the log-on task is there, asked of the task service as the
  // window is made, so that the window need not wait for the answer.
  std::unique_ptr<TaskLookup> autostart_lookup_;
  // Start-up is reading the start at log-on: the box's click leaves its
  // registration for after the first picture.
  bool reading_autostart_ = false;
};

// The Run value's data: the executable's path, quoted, and the switch.
std::string AutostartCommand(const std::string& executable);

}  // namespace velocane
