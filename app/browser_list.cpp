// The browser window list: the observer's entries as rows, and View, which
// uncovers the list for five seconds.
#include "app/ObServeUnit.h"

namespace velocane {

void TForm1::CreateBrowserTracking() {
  ShellWindowObserver1 = new TShellWindowObserver(this, "ShellWindowObserver1");
  ShellWindowObserver1->LoggingDirs = true;
  ShellWindowObserver1->Delimiter = ',';
  ShellWindowObserver1->Active = true;
  ShellWindowObserver1->SetSendAMessage(TShellMessage::smClose);
  ShellWindowObserver1->OnAddedEntry = [this](TComponent& sender, TShellWindow& window,
                                              const std::string& line) {
    ShellWindowObserver1AddedEntry(sender, window, line);
  };
  ShellWindowObserver1->OnChangedNumber = [this](TComponent& sender, int number) {
    ShellWindowObserver1ChangedNumber(sender, number);
  };
  SpeedButton2->OnClick = [this](TComponent& sender) { SpeedButton2Click(sender); };
  Timer1->SetOnTimer([this](TComponent& sender) { Timer1Timer(sender); });
}

void TForm1::ShellWindowObserver1AddedEntry(TComponent&, TShellWindow&, const std::string&) {
  RefreshList();
}

void TForm1::ShellWindowObserver1ChangedNumber(TComponent&, int) { RefreshList(); }

void TForm1::RefreshList() {
  ListView1->ClearItems();
  for (const TShellWindowRef& entry : ShellWindowObserver1->WindowList()) {
    TListItem item;
    item.Caption = std::to_string(entry->Number);
    item.SubItems = {entry->Title, entry->URL};
    // The row keeps its entry alive, also after a purge took it out of the list.
    item.Data = entry;
    ListView1->AddItem(std::move(item));
  }
}

BrowserRef TForm1::BrowserOfItem(const TListItem& item) const {
  return static_cast<const TShellWindow*>(item.Data.get())->Browser;
}

void TForm1::SpeedButton2Click(TComponent&) {
  CB->SetEnabled(false);
  CB->Hide();
  ListView1->Show();
  Memo1->Hide();
  Memo2->Hide();
  Timer1->SetEnabled(true);
  CB->Show();
  CB->SetEnabled(true);
}

void TForm1::Timer1Timer(TComponent&) {
  Timer1->SetEnabled(false);
  ListView1->Show();
  Memo1->Show();
  Memo2->Show();
}

}  // namespace velocane
