// The observer's two text operations on any text: ReplaceAll against a
// replacement done character by character, and IsWebAddress against a search
// of each position.
#include <string>

#include "components/ShellWindowScan.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

std::string ReplaceByHand(const std::string& s, const std::string& old_text,
                          const std::string& new_text) {
  if (old_text.empty()) return s;
  std::string result;
  std::size_t i = 0;
  while (i < s.size()) {
    if (s.compare(i, old_text.size(), old_text) == 0) {
      result += new_text;
      i += old_text.size();
    } else {
      result += s[i++];
    }
  }
  return result;
}

bool ContainsAt(const std::string& s, const char* word) {
  const std::string w(word);
  for (std::size_t i = 0; i + w.size() <= s.size(); ++i) {
    if (s.compare(i, w.size(), w) == 0) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using velocane::TShellWindowScanSteps;
  velocane::fuzz::Input input(data, size);
  const std::string old_text = input.Line();
  const std::string new_text = input.Line();
  const std::string s = input.Bytes(8192);

  if (TShellWindowScanSteps::ReplaceAll(s, old_text, new_text) !=
      ReplaceByHand(s, old_text, new_text)) {
    __builtin_trap();
  }
  // The observer's own use: a blank cannot make a new "%20", so none is left.
  const std::string url = TShellWindowScanSteps::ReplaceAll(s, "%20", " ");
  if (url.find("%20") != std::string::npos) __builtin_trap();

  const bool web = ContainsAt(s, "http") || ContainsAt(s, "ftp") || ContainsAt(s, "gopher");
  if (TShellWindowScanSteps::IsWebAddress(s) != web) __builtin_trap();
  return 0;
}
