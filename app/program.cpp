#include "app/program.h"

#include "app/ObServeUnit.h"
#include "platform/framework/application.h"
#include "platform/messages.h"

namespace velocane {

int RunProgram(Platform& platform) {
  TApplication application(platform);
  try {
    application.Initialize();
    application.SetTitle(kApplicationTitle);
    application.CreateForm<TForm1>();
  } catch (const std::exception& error) {
    // Without its windows the program cannot run: say why and end.
    platform.windowing.MessageBox(WindowHandle{}, error.what(), kApplicationTitle,
                                  mb::kOk | mb::kIconError);
    return 1;
  }
  return application.Run();
}

}  // namespace velocane
