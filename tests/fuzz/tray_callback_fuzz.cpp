// The shell's callbacks with any wParam and lParam, between any stretches of
// time: the tray icon answers what it knows and ignores the rest.
#include "components/NotifyAreaIcon.h"
#include "platform/framework/application.h"
#include "platform/framework/forms.h"
#include "platform/messages.h"
#include "platform/sim/sim_platform.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velocane;
  fuzz::Input input(data, size);
  sim::SimPlatform sim;
  {
    TApplication app(sim.platform);
    app.Initialize();
    TForm& form = app.CreateForm<TForm>("Form1");
    auto* list = new TImageList(&form, "List");
    list->Add(TPixelImage{16, 16, std::vector<Color>(256, clRed)});
    auto* menu = new TPopupMenu(&form, "Menu");
    menu->SetItems({TMenuItem{"Open", true, true, {}}});
    auto* icon = new TNotifyAreaIcon(&form, "Icon");
    const std::uint8_t setup = input.Byte();
    icon->SetIconList(list);
    icon->SetPopupMenu(menu);
    icon->SetLeftPopup((setup & 1) != 0);
    icon->SetWantEnterExitEvents((setup & 2) != 0);
    icon->SetNotifyStyle((setup & 4) != 0 ? 1 : 0);
    if ((setup & 8) != 0) icon->OnDblClick = [](TComponent&) {};
    icon->SetIconVisible(true);
    int clicks = 0;
    icon->OnClick = [&](TComponent&) { ++clicks; };
    sim.windowing.menu_responder = [](const sim::SimWindowing::ShownMenu& shown) {
      return shown.items.empty() ? 0 : shown.items[0].id;
    };
    const WindowHandle handler = TNotifyIconHandler::Window();
    while (!input.Empty()) {
      const std::uint8_t kind = input.Byte();
      // Mostly ours, now and then any id; any notification.
      const std::uintptr_t wparam = (kind & 0x80) != 0 ? input.U32() : icon->Id();
      const std::intptr_t lparam = static_cast<std::int32_t>(
          (kind & 0x40) != 0 ? input.U32() : wm::kMouseMove + input.Byte() % 16);
      sim.windowing.cursor = Point{input.Byte(), input.Byte()};
      sim.windowing.SendMessage(handler, (kind & 0x20) != 0 ? input.U32() : kTrayCallbackMessage,
                                wparam, lparam);
      sim.windowing.RunFor(input.Byte() * 4u);
    }
    if (clicks < 0) __builtin_trap();
  }
  // Everything the icon made is gone with it.
  if (TNotifyIconHandler::Exists() || sim.windowing.LiveTimers() != 0 ||
      sim.notify_area.LiveIcons() != 0) {
    __builtin_trap();
  }
  return 0;
}
