// The page translation: the language and server choice, the request for the
// selected browser's page, and the actions on the selected browser.
#include "app/ObServeUnit.h"
#include "platform/messages.h"

namespace velocane {

namespace {

constexpr const char* kSelectRow = "Select a Title or URL please.";
constexpr const char* kBlankPage = "Blank page could not be translated!";
constexpr const char* kTranslatedAlready = "The Webpage has already been translated!";

const TShellWindow& EntryOf(const TListItem& row) {
  return *static_cast<const TShellWindow*>(row.Data.get());
}

}  // namespace

void TForm1::CreateTranslationControls() {
  const std::vector<std::string> languages = {"English", "French",     "German",  "Spanish",
                                              "Italian", "Portuguese", "Russian", "Chinese",
                                              "Korean",  "Japanese"};
  struct ComboPlace {
    TComboBox** combo;
    const char* name;
    int left;
    int width;
    std::vector<std::string> items;
    int rows;
    const char* text;
  };
  const ComboPlace combos[] = {
      {&CB1, "CB1", 8, 100, languages, 10, "French"},
      {&CB2, "CB2", 112, 100, languages, 10, "English"},
      {&CBServer,
       "CBServer",
       216,
       71,
       {"Server  1", "Server  2", "Server  3", "Server  4", "Server  5", "Server  6", "Server  7"},
       8,
       "Server  5"},
  };
  for (const ComboPlace& place : combos) {
    auto* combo = new TComboBox(this, place.name);
    combo->SetBounds(place.left, 54, place.width, 21);
    combo->SetItems(place.items);
    combo->SetDropDownCount(place.rows);
    combo->SetText(place.text);
    combo->SetVisible(false);
    combo->SetParent(Panel1);
    *place.combo = combo;
  }
  CB1->SetImages(FlagImageList);
  CB2->SetImages(FlagImageList);

  struct ButtonPlace {
    TBitBtn** button;
    const char* name;
    int left;
    const char* caption;
  };
  const ButtonPlace buttons[] = {
      {&GoButton, "GoButton", 8, "Translate   Now "},
      {&NewButton, "NewButton", 124, "Translate in New"},
      {&CloseButton, "CloseButton", 240, "Close selected"},
  };
  for (const ButtonPlace& place : buttons) {
    auto* button = new TBitBtn(this, place.name);
    button->SetBounds(place.left, 80, 110, 25);
    button->SetCaption(place.caption);
    button->SetVisible(false);
    button->SetParent(Panel1);
    *place.button = button;
  }

  CB1->OnSelect = [this](TComponent& sender) { CB1Select(sender); };
  CB2->OnSelect = [this](TComponent& sender) { CB2Select(sender); };
  CBServer->OnSelect = [this](TComponent& sender) { CBServerSelect(sender); };
  GoButton->OnClick = [this](TComponent& sender) { GoButtonClick(sender); };
  NewButton->OnClick = [this](TComponent& sender) { NewButtonClick(sender); };
  CloseButton->OnClick = [this](TComponent& sender) { CloseButtonClick(sender); };
}

void TForm1::InitTranslationPairs() {
  Server1Pairs = kServerPairs[0];
  Server2Pairs = kServerPairs[1];
  Server3Pairs = kServerPairs[2];
  Server4Pairs = kServerPairs[3];
  Server5Pairs = kServerPairs[4];
  Server6Pairs = kServerPairs[5];
  ServerNumber = 5;
  SourceCode = "fr";
  TargetCode = "en";
}

void TForm1::InitTranslationBases() {
  Server1Base = ServerBase(1);
  Server2Base = ServerBase(2);
  Server3Base = ServerBase(3);
  Server4Base = ServerBase(4);
  Server5Base = ServerBase(5);
  Server6Base = ServerBase(6);
  Server7Base = ServerBase(7);
  Server2Tail = kServer2Tail;
}

void TForm1::CB1Select(TComponent&) { SourceCode = LanguageCode(CB1->Text()); }

void TForm1::CB2Select(TComponent&) { TargetCode = LanguageCode(CB2->Text()); }

void TForm1::CBServerSelect(TComponent&) {
  for (int server = 1; server <= kTranslationServers; ++server) {
    if (CBServer->Text() == "Server  " + std::to_string(server)) {
      ServerNumber = server;
      return;
    }
  }
}

std::string TForm1::PairCode() const { return PairCodeOf(SourceCode, TargetCode); }

std::string TForm1::PairNames() const { return PairNamesOf(SourceCode, TargetCode); }

std::string TForm1::FromToQuery() const { return FromToQueryOf(SourceCode, TargetCode); }

TTranslationRequest TForm1::BuildRequest(const std::string& page,
                                         const std::string& wording) const {
  TTranslationSettings settings;
  settings.SourceCode = SourceCode;
  settings.TargetCode = TargetCode;
  settings.ServerNumber = ServerNumber;
  settings.SourceText = CB1->Text();
  settings.TargetText = CB2->Text();
  settings.Pairs = {Server1Pairs, Server2Pairs, Server3Pairs,
                    Server4Pairs, Server5Pairs, Server6Pairs};
  settings.Bases = {Server1Base, Server2Base, Server3Base, Server4Base,
                    Server5Base, Server6Base, Server7Base};
  settings.Server2Tail = Server2Tail;
  return BuildTranslationRequest(settings, Os().process.AnsiToUtf8(page), wording);
}

void TForm1::GoButtonClick(TComponent&) {
  const TListItem* row = ListView1->Selected();
  if (row == nullptr) {
    Label1->SetCaption(kSelectRow);
    return;
  }
  const std::string page = row->SubItems.at(1);
  if (page == "about:blank") {
    Label1->SetCaption(kBlankPage);
    return;
  }
  if (page.find(Server1Base) != std::string::npos || page.find(Server2Base) != std::string::npos) {
    Label1->SetCaption(kTranslatedAlready);
    return;
  }
  TargetBrowser = BrowserOfItem(*row);
  const TTranslationRequest request = BuildRequest(page, kInPlaceWording);
  if (request.Refused) {
    Label1->SetCaption(request.Text);
  } else {
    TargetBrowser->Navigate(request.Text);
  }
}

void TForm1::NewButtonClick(TComponent&) {
  if (ListView1->Selected() == nullptr) {
    Label1->SetCaption(kSelectRow);
    return;
  }
  Application()->RequireCom();
  TargetBrowser = Os().shell.CreateBrowser();
  TargetBrowser->SetVisible(true);
  // Making the browser may have let the list change: look again.
  const TListItem* row = ListView1->Selected();
  if (row == nullptr) {
    Label1->SetCaption(kSelectRow);
    return;
  }
  const TTranslationRequest request = BuildRequest(EntryOf(*row).URL, kNewWindowWording);
  if (request.Refused) {
    Label1->SetCaption(request.Text);
  } else {
    TargetBrowser->Navigate(request.Text);
  }
}

void TForm1::CloseButtonClick(TComponent&) {
  const TListItem* row = ListView1->Selected();
  if (row == nullptr) return;
  Os().windowing.SendMessage(EntryOf(*row).Hwnd, wm::kSysCommand, sc::kClose, 0);
}

}  // namespace velocane
