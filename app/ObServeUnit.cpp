#include "app/ObServeUnit.h"

#include "app/appearance.h"
#include "app/button_glyphs.h"
#include "app/logon_task.h"
#include "app/tray_images.h"

namespace velocane {

namespace {

FontDesc MakeFont(const char* name, int height, Color color = clWindowText, bool bold = false) {
  return FontDesc{name, height, bold, color};
}

// The type names with the blanks that pad them in the list.
std::vector<std::string> ConnectionItems() {
  return {
      "Modem" + std::string(20, ' '), "LAN" + std::string(28, ' '),  "ISDN" + std::string(37, ' '),
      "ADSL" + std::string(20, ' '),  "CATV" + std::string(20, ' '), "Cable" + std::string(20, ' '),
      "AUTO" + std::string(20, ' '),
  };
}

}  // namespace

TForm1::TForm1(TApplication& application) : TForm(application, "Form1") {
  SetCaption("Velocane");
  SetClientSize(405, 275);
  SetBorderStyle(TFormBorderStyle::bsToolWindow);
  SetStayOnTop(true);
  SetPosition(TPosition::poScreenCenter);
  SetColor(clBtnFace);
  SetFont(MakeFont("MS Sans Serif", 11));
  // Asked now: the service answers while the windows are made.
  autostart_lookup_ = Os().task_scheduler.BeginLookup(kLogonTaskName);
  CreateControls();
  ConnectEvents();
  CreateBrowserTracking();
  CreateTranslationControls();
}

void TForm1::ConnectEvents() {
  OnCreate = [this](TComponent& sender) { FormCreate(sender); };
  OnCloseQuery = [this](TComponent& sender, bool& can_close) { FormCloseQuery(sender, can_close); };
  OnClose = [this](TComponent& sender, TCloseAction& action) { FormClose(sender, action); };
  CB->OnSelect = [this](TComponent& sender) { CBSelect(sender); };
  SpeedButton1->OnClick = [this](TComponent& sender) { SpeedButton1Click(sender); };
  SpeedButton3->OnClick = [this](TComponent& sender) { SpeedButton3Click(sender); };
  SpeedButton4->OnClick = [this](TComponent& sender) { SpeedButton4Click(sender); };
  BitBtn1->OnClick = [this](TComponent& sender) { BitBtn1Click(sender); };
  BitBtn2->OnClick = [this](TComponent& sender) { BitBtn2Click(sender); };
  BitBtn3->OnClick = [this](TComponent& sender) { BitBtn3Click(sender); };
  Edit1->OnClick = [this](TComponent& sender) { Edit1Click(sender); };
  CheckBox1->OnClick = [this](TComponent& sender) { CheckBox1Click(sender); };
  Panel1->OnClick = [this](TComponent& sender) { Panel1Click(sender); };
  Timer3->SetOnTimer([this](TComponent& sender) { Timer3Timer(sender); });
  CT1->OnClick = [this](TComponent& sender) { CT1Click(sender); };
}

void TForm1::CreateControls() {
  PopupMenu1 = new TPopupMenu(this, "PopupMenu1");

  ListView1 = new TListView(this, "ListView1");
  ListView1->SetBounds(0, 0, 405, 265);
  ListView1->SetColumns({{"No.", 30}, {"Title", 200}, {"URL", 150}});
  ListView1->SetGridLines(true);
  ListView1->SetRowSelect(true);
  ListView1->SetHideSelection(false);
  ListView1->SetFont(FontDesc{});
  ListView1->SetColor(clWindow);
  ListView1->SetParent(this);

  Panel1 = new TPanel(this, "Panel1");
  Panel1->SetBounds(0, 162, 405, 113);
  Panel1->SetColor(kSlate);
  Panel1->SetBevelRaised(true);
  Panel1->SetFont(Font());
  Panel1->SetParent(this);

  struct ButtonPlace {
    TSpeedButton** button;
    const char* name;
    int left;
    const char* caption;
    TGlyphPainter glyph;
    char access_key;  // Alt and this letter press the button
  };
  const ButtonPlace buttons[] = {
      {&SpeedButton3, "SpeedButton3", 29, "Stop", StopGlyph, 'S'},
      {&SpeedButton1, "SpeedButton1", 99, "Accelerate", AccelerateGlyph, 'A'},
      {&SpeedButton2, "SpeedButton2", 169, "View", ViewGlyph, 'V'},
      {&SpeedButton4, "SpeedButton4", 239, "Minimize", MinimizeGlyph, 'M'},
      {&Edit1, "Edit1", 311, "About", AboutGlyph, 'B'},
  };
  for (const ButtonPlace& place : buttons) {
    auto* button = new TSpeedButton(this, place.name);
    button->SetBounds(place.left, 10, 68, 68);
    button->SetCaption(place.caption);
    button->SetFont(MakeFont("Arial", 11, clWindowText, true));
    button->SetFlat(true);
    button->SetGlyph(place.glyph);
    button->SetAccelerator(place.access_key);
    button->SetParent(Panel1);
    *place.button = button;
  }

  Label1 = new TLabel(this, "Label1");
  Label1->SetBounds(14, 94, 200, 13);
  Label1->SetCaption("Ready.");
  Label1->SetFont(MakeFont("Arial", 11));
  Label1->SetParent(Panel1);

  AG = new TVexGauge(this, "AG");
  ConfigureMainGauge(*AG);
  AG->SetVisible(false);
  AG->SetFont(Panel1->Font());
  AG->SetParent(Panel1);
  AG->SetPercentage(45);

  BitBtn1 = new TBitBtn(this, "BitBtn1");
  BitBtn1->SetBounds(280, 76, 65, 29);
  BitBtn1->SetCaption("Minimize");
  BitBtn1->SetVisible(false);
  BitBtn1->SetParent(Panel1);

  Memo1 = new TMemo(this, "Memo1");
  Memo1->SetBounds(0, 1, 409, 32);
  Memo1->SetLines({"Velocane 3.12"});
  Memo1->SetReadOnly(true);
  Memo1->SetFont(MakeFont("Arial", 21, clLime));
  Memo1->SetColor(kSlate);
  Memo1->SetPopupMenu(PopupMenu1);
  Memo1->SetParent(this);

  Memo2 = new TMemo(this, "Memo2");
  Memo2->SetBounds(0, 32, 409, 131);
  Memo2->SetLines({
      "  - Make your Internet Explorer faster!",
      "",
      "  - Boost all your Internet Applications!",
      "",
      "  - Applicable to Modem, LAN, CATV, Cable, ADSL user.",
      "",
      "  - Support Internet Explorer 6, 7, 8, 9, 10, 11, 12.",
  });
  Memo2->SetReadOnly(true);
  Memo2->SetFont(MakeFont("Arial", 13, clBlack));
  Memo2->SetColor(kSlate);
  Memo2->SetPopupMenu(PopupMenu1);
  Memo2->SetParent(this);

  CB = new TComboBox(this, "CB");
  CB->SetBounds(307, 5, 65, 21);
  CB->SetItems(ConnectionItems());
  CB->SetDropDownCount(8);
  CB->SetText("AUTO");
  CB->SetFont(MakeFont("MS Sans Serif", 11));
  CB->SetColor(kSlate);
  CB->SetParent(this);

  CheckBox1 = new TCheckBox(this, "CheckBox1");
  CheckBox1->SetBounds(180, 255, 203, 17);
  CheckBox1->SetCaption("Enable acceleration on system startup");
  CheckBox1->SetFont(MakeFont("Arial", 11));
  CheckBox1->SetColor(kSlate);
  CheckBox1->SetParent(this);
  // The keyboard goes from the commands to the check box below them, then
  // up to the connection box.
  CheckBox1->SetTabOrder(CB->TabOrder());

  BitBtn2 = new TBitBtn(this, "BitBtn2");
  BitBtn2->SetBounds(16, 84, 110, 25);
  BitBtn2->SetCaption("Launch Pellarin");
  BitBtn2->SetVisible(false);
  BitBtn2->SetParent(this);

  BitBtn3 = new TBitBtn(this, "BitBtn3");
  BitBtn3->SetBounds(256, 87, 113, 25);
  BitBtn3->SetCaption("About le program");
  BitBtn3->SetVisible(false);
  BitBtn3->SetParent(this);

  Timer1 = new TTimer(this, "Timer1");
  Timer1->SetEnabled(false);
  Timer1->SetInterval(5000);

  Timer3 = new TTimer(this, "Timer3");
  Timer3->SetEnabled(false);
  Timer3->SetInterval(1500);

  PrevInst1 = new TPrevInst(this, "PrevInst1");
  PrevInst1->AllowedInst = 1;

  // Drawn at the size the notification area shows small icons at, which
  // grows with the display's DPI.
  const int icon = Os().widgets.SmallIconSize();
  FlagImageList = new TImageList(this, "FlagImageList", icon, icon);
  FlagImageList->Add(FlagImage(0, icon));
  FlagImageList->Add(FlagImage(1, icon));

  CT1 = new TNotifyAreaIcon(this, "CT1");
  CT1->SetIconList(FlagImageList);
  CT1->SetCycleInterval(5000);
  CT1->SetEnabled(false);
  CT1->SetHint("Velocane 2.01");
  CT1->SetIcon(StoredTrayImage(icon));
  CT1->SetIconIndex(0);
  // Version 3 of the shell's notifications: the icon chosen from the keyboard
  // then comes as a select, which is a click, rather than as the right button.
  CT1->SetNotifyStyle(1);

  VisualStyle1 = new TVisualStyle(this, "VisualStyle1");
}

}  // namespace velocane
