// The About command and the hidden button that opens the about box too.
#include "app/OBAbout.h"
#include "app/ObServeUnit.h"

namespace velocane {

void TForm1::Edit1Click(TComponent&) {
  Hide();
  // The window comes back on every way out, or the program would be out of reach.
  try {
    ShowAboutBox();
  } catch (...) {
    Show();
    throw;
  }
  Show();
}

void TForm1::BitBtn3Click(TComponent&) { ShowAboutBox(); }

void TForm1::ShowAboutBox() {
  const std::unique_ptr<TAbout> about = std::make_unique<TAbout>(this);
  about->ShowModal();
}

}  // namespace velocane
