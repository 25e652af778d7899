// Both drawing backends refuse the same bitmap requests with the same error
// code, each with its system's text for it (Wine words some codes unlike
// Windows, whose words the simulation keeps).
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/framework/exceptions.h"
#include "platform/sim/sim_drawing.h"
#include "platform/sim/sim_errors.h"
#include "platform/win32/win32_drawing.h"
#include "platform/win32/win32_errors.h"

namespace velocane {
namespace {

struct Refusal {
  unsigned code = 0;
  std::string text;
};

Refusal RefusalOf(const std::function<void()>& request) {
  try {
    request();
  } catch (const EOSError& e) {
    return Refusal{e.Code(), e.what()};
  }
  return Refusal{};
}

TEST(BitmapRefusals, SimulationAgreesWithTheSystem) {
  sim::SimDrawing sim;
  win32::Win32Drawing gdi;
  struct Request {
    int width;
    int height;
    bool mono;
    unsigned code;
  };
  const Request requests[] = {
      {0, 10, false, 87},        {10, 0, false, 87}, {-1, 5, false, 87},       {5, -1, false, 87},
      {0, 0, true, 87},          {-4, 4, true, 87},  {32768, 32768, false, 8},  // 4 GiB of pixels
      {65536, 262144, true, 87},                                                // 2 GiB of rows
  };
  for (const Request& r : requests) {
    SCOPED_TRACE(std::to_string(r.width) + " x " + std::to_string(r.height) +
                 (r.mono ? " mono" : " colour"));
    const auto make = [&](Drawing& drawing) {
      return [&drawing, r] {
        const BitmapHandle made = r.mono ? drawing.CreateMonoBitmap(r.width, r.height)
                                         : drawing.CreateBitmap(r.width, r.height);
        drawing.DeleteBitmap(made);
      };
    };
    const Refusal real = RefusalOf(make(gdi));
    const Refusal simulated = RefusalOf(make(sim));
    EXPECT_EQ(real.code, r.code);
    EXPECT_EQ(simulated.code, real.code);
    EXPECT_EQ(real.text, win32::SystemErrorText(r.code));
    EXPECT_EQ(simulated.text, sim::SystemErrorText(r.code));
  }
}

}  // namespace
}  // namespace velocane
