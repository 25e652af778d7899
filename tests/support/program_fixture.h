#pragma once
// The program started on the simulated platform, with helpers to look at the registry.
#include <gtest/gtest.h>

#include <optional>

#include "app/ObServeUnit.h"
#include "app/connection_types.h"
#include "app/program.h"
#include "platform/messages.h"
#include "platform/sim/sim_platform.h"

namespace velocane::testing {

inline const std::string kSettings =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

class ProgramTest : public ::testing::Test {
 protected:
  // What the program entry does up to the message loop.
  TForm1& Start(const std::string& command_line = "\"C:\\Program Files\\Velocane\\velocane.exe\"") {
    sim.process.command_line = command_line;
    app = std::make_unique<TApplication>(sim.platform);
    app->Initialize();
    app->SetTitle(kApplicationTitle);
    form = &app->CreateForm<TForm1>();
    return *form;
  }

  std::optional<std::uint32_t> DWord(RootKey root, const std::string& name) const {
    const RegValue* value = sim.registry.Find(root, kSettings, name);
    if (value == nullptr || value->type != ValueType::DWord || value->data.size() != 4) {
      return std::nullopt;
    }
    return value->data[0] | value->data[1] << 8 | value->data[2] << 16 |
           static_cast<std::uint32_t>(value->data[3]) << 24;
  }
  std::optional<std::string> String(RootKey root, const std::string& name) const {
    const RegValue* value = sim.registry.Find(root, kSettings, name);
    if (value == nullptr || value->type != ValueType::String) return std::nullopt;
    return std::string(value->data.begin(), std::find(value->data.begin(), value->data.end(), 0));
  }
  // The pair under one root, as {per server, per 1.0 server}.
  std::pair<std::optional<std::uint32_t>, std::optional<std::uint32_t>> Pair(RootKey root) const {
    return {DWord(root, kMaxConnectionsPerServer), DWord(root, kMaxConnectionsPer1_0Server)};
  }
  void StorePair(RootKey root, std::uint32_t a, std::uint32_t b) {
    sim.registry.Put(root, kSettings, kMaxConnectionsPerServer, sim::DWordValue(a));
    sim.registry.Put(root, kSettings, kMaxConnectionsPer1_0Server, sim::DWordValue(b));
  }
  // A click on a flat button, as the mouse gives it to the panel.
  void ClickButton(TSpeedButton* button) {
    const Rect r = button->BoundsRect();
    static_cast<sim::SimPanel*>(form->Panel1->Peer())->MouseClick(Point{r.left + 5, r.top + 5});
  }

  const std::vector<sim::ShownMessageBox>& Boxes() const { return sim.windowing.MessageBoxes(); }

  sim::SimPlatform sim;
  std::unique_ptr<TApplication> app;
  TForm1* form = nullptr;
};

// The waits the animations request, computed from the generator's definition.
class ReferenceRandom {
 public:
  std::uint32_t Next(std::uint32_t range) {
    seed = seed * 134775813u + 1u;
    return static_cast<std::uint32_t>((std::uint64_t{range} * seed) >> 32);
  }
  std::vector<unsigned> AccelerateWaits() {
    std::vector<unsigned> waits;
    for (int n = 0; n <= 100; ++n) {
      waits.push_back(1 + Next(5));
      if (n == 60) waits.push_back(1700);
      if (n == 85) waits.push_back(1100);
    }
    return waits;
  }
  std::vector<unsigned> StopWaits() {
    std::vector<unsigned> waits;
    for (int n = 0; n <= 100; ++n) waits.push_back(1 + Next(360));
    return waits;
  }
  std::uint32_t seed = 0;
};

inline std::uint64_t Sum(const std::vector<unsigned>& waits) {
  std::uint64_t total = 0;
  for (unsigned w : waits) total += w;
  return total;
}

}  // namespace velocane::testing
