// Registry values of any type and any bytes, read as the program reads them:
// numbers, strings and their presence; only the framework's own errors may come out.
#include "platform/framework/exceptions.h"
#include "platform/framework/registry.h"
#include "platform/sim/sim_registry.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velocane;
  fuzz::Input input(data, size);
  sim::SimRegistry registry;
  const auto type = static_cast<ValueType>(input.Byte() % 12);
  const std::string bytes = input.Bytes(size);
  registry.Put(RootKey::CurrentConfig, "Key", "Value",
               RegValue{type, std::vector<std::uint8_t>(bytes.begin(), bytes.end())});
  TRegistry reg(registry, RootKey::CurrentConfig);
  if (!reg.OpenKey("\\Key", false)) __builtin_trap();
  if (!reg.ValueExists("Value")) __builtin_trap();
  try {
    reg.ReadInteger("Value");
    if (type != ValueType::DWord || bytes.size() != 4) __builtin_trap();
  } catch (const ERegistryException&) {
  } catch (const EConvertError&) {
  }
  try {
    const std::string text = reg.ReadString("Value");
    // Never more than was stored, and never past a terminator.
    if (text.size() > bytes.size() || text.find('\0') != std::string::npos) __builtin_trap();
  } catch (const ERegistryException&) {
  }
  return 0;
}
