// The manifests of the built program, read back from its executable as the
// system reads them: resource type 24, id 1, one in each of the languages
// 1033 (the common controls of version 6, for the executable's architecture)
// and 2052 (the administrator rights). Every build of the program is read
// where it exists: the x64 one the tests run, the 32-bit one, and both
// release builds.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/handles.h"
#include "tools/driver/driver.h"

namespace velocane {
namespace {

// An element of a manifest: its name, attributes, text and children.
struct Element {
  std::string name;
  std::map<std::string, std::string> attributes;
  std::string text;
  std::vector<Element> children;
};

// A strict reader of the XML a manifest holds: the declaration, comments,
// elements with quoted attributes, text with the five predefined entities.
// Anything else is an error, as it would be for the system.
class XmlReader {
 public:
  explicit XmlReader(const std::string& text) : s_(text) {}

  std::optional<Element> Document() {
    if (Ahead("\xEF\xBB\xBF")) at_ += 3;  // a UTF-8 byte order mark
    Skip();
    if (Ahead("<?xml")) {
      const std::size_t end = s_.find("?>", at_);
      if (end == std::string::npos) return Fail("unterminated declaration");
      at_ = end + 2;
    }
    Skip();
    std::optional<Element> root = ReadElement();
    if (!root) return root;
    Skip();
    if (at_ != s_.size()) return Fail("text after the root element");
    return root;
  }
  const std::string& Error() const { return error_; }

 private:
  std::nullopt_t Fail(const std::string& why) {
    if (error_.empty()) error_ = why + " at offset " + std::to_string(at_);
    return std::nullopt;
  }
  bool Ahead(const char* token) const { return s_.compare(at_, std::strlen(token), token) == 0; }
  static bool Space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
  static bool NameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == ':' || c == '_' || c == '-' ||
           c == '.';
  }
  // Blanks and comments.
  void Skip() {
    for (;;) {
      while (at_ < s_.size() && Space(s_[at_])) ++at_;
      if (!Ahead("<!--")) return;
      const std::size_t end = s_.find("-->", at_);
      at_ = end == std::string::npos ? s_.size() : end + 3;
    }
  }
  std::string Name() {
    const std::size_t from = at_;
    while (at_ < s_.size() && NameChar(s_[at_])) ++at_;
    return s_.substr(from, at_ - from);
  }
  std::optional<std::string> Decode(const std::string& raw) {
    static const std::map<std::string, char> kEntities{
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    std::string out;
    for (std::size_t i = 0; i < raw.size(); ++i) {
      if (raw[i] != '&') {
        out += raw[i];
        continue;
      }
      const std::size_t end = raw.find(';', i);
      const auto entity = end == std::string::npos ? kEntities.end()
                                                   : kEntities.find(raw.substr(i + 1, end - i - 1));
      if (entity == kEntities.end()) return Fail("unknown entity");
      out += entity->second;
      i = end;
    }
    return out;
  }
  std::optional<Element> ReadElement() {
    if (!Ahead("<")) return Fail("element expected");
    ++at_;
    Element element;
    element.name = Name();
    if (element.name.empty()) return Fail("element name expected");
    for (;;) {
      const std::size_t before = at_;
      while (at_ < s_.size() && Space(s_[at_])) ++at_;
      if (Ahead("/>")) {
        at_ += 2;
        return element;
      }
      if (Ahead(">")) {
        ++at_;
        break;
      }
      if (at_ == before) return Fail("blank expected before an attribute");
      const std::string name = Name();
      while (at_ < s_.size() && Space(s_[at_])) ++at_;
      if (name.empty() || !Ahead("=")) return Fail("attribute expected");
      ++at_;
      while (at_ < s_.size() && Space(s_[at_])) ++at_;
      if (at_ >= s_.size() || (s_[at_] != '"' && s_[at_] != '\'')) return Fail("quote expected");
      const char quote = s_[at_++];
      const std::size_t end = s_.find(quote, at_);
      if (end == std::string::npos) return Fail("unterminated attribute");
      std::optional<std::string> value = Decode(s_.substr(at_, end - at_));
      if (!value) return std::nullopt;
      if (!element.attributes.emplace(name, *value).second) return Fail("attribute twice");
      at_ = end + 1;
    }
    for (;;) {
      Skip();
      if (Ahead("</")) {
        at_ += 2;
        if (Name() != element.name || !Ahead(">")) return Fail("</" + element.name + "> expected");
        ++at_;
        return element;
      }
      if (Ahead("<")) {
        std::optional<Element> child = ReadElement();
        if (!child) return std::nullopt;
        element.children.push_back(std::move(*child));
        continue;
      }
      const std::size_t end = s_.find('<', at_);
      if (end == std::string::npos) return Fail("unterminated element");
      std::string raw = s_.substr(at_, end - at_);
      while (!raw.empty() && Space(raw.back())) raw.pop_back();
      std::optional<std::string> text = Decode(raw);
      if (!text) return std::nullopt;
      element.text += *text;
      at_ = end;
    }
  }

  const std::string& s_;
  std::size_t at_ = 0;
  std::string error_;
};

// One line per element, indented by depth, attributes in name order:
// what a manifest says, apart from how it is laid out.
void Outline(const Element& e, int depth, std::string* out) {
  *out += std::string(2 * depth, ' ') + e.name;
  for (const auto& [name, value] : e.attributes) *out += " " + name + "=\"" + value + "\"";
  if (!e.text.empty()) *out += " text=\"" + e.text + "\"";
  *out += "\n";
  for (const Element& child : e.children) Outline(child, depth + 1, out);
}

// The manifest text for each language of resource 24/1; the ids of all
// manifests; the machine the executable is built for.
struct Resources {
  std::vector<std::uintptr_t> manifest_ids;
  std::map<WORD, std::string> manifests;
  WORD machine = 0;
};

BOOL CALLBACK AddName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR ids) {
  reinterpret_cast<std::vector<std::uintptr_t>*>(ids)->push_back(
      IS_INTRESOURCE(name) ? reinterpret_cast<std::uintptr_t>(name) : 0);
  return TRUE;
}

BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages) {
  reinterpret_cast<std::vector<WORD>*>(languages)->push_back(language);
  return TRUE;
}

// From outside, as data: also a 32-bit executable, which this process could not run.
std::optional<Resources> ReadResources(const std::filesystem::path& exe, std::string* error) {
  Resources found;
  std::ifstream file(exe, std::ios::binary);
  IMAGE_DOS_HEADER dos{};
  DWORD signature = 0;
  IMAGE_FILE_HEADER header{};
  file.read(reinterpret_cast<char*>(&dos), sizeof dos);
  file.seekg(dos.e_lfanew);
  file.read(reinterpret_cast<char*>(&signature), sizeof signature);
  file.read(reinterpret_cast<char*>(&header), sizeof header);
  if (!file || dos.e_magic != IMAGE_DOS_SIGNATURE || signature != IMAGE_NT_SIGNATURE) {
    *error = "not a PE file";
    return std::nullopt;
  }
  found.machine = header.Machine;

  const win32::UniqueModule module(LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  if (!module) {
    *error = "LoadLibraryEx failed, error " + std::to_string(GetLastError());
    return std::nullopt;
  }
  EnumResourceNamesW(module.get(), RT_MANIFEST, AddName,
                     reinterpret_cast<LONG_PTR>(&found.manifest_ids));
  std::vector<WORD> languages;
  EnumResourceLanguagesW(module.get(), RT_MANIFEST, MAKEINTRESOURCEW(1), AddLanguage,
                         reinterpret_cast<LONG_PTR>(&languages));
  for (WORD language : languages) {
    HRSRC resource = FindResourceExW(module.get(), RT_MANIFEST, MAKEINTRESOURCEW(1), language);
    HGLOBAL loaded = resource != nullptr ? LoadResource(module.get(), resource) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
      *error = "manifest of language " + std::to_string(language) + " cannot be read";
      return std::nullopt;
    }
    found.manifests[language] =
        std::string(static_cast<const char*>(bytes), SizeofResource(module.get(), resource));
  }
  return found;
}

struct Build {
  const char* preset;
  bool required;  // the build the tests run; the others where they were built
};

void PrintTo(const Build& b, std::ostream* out) { *out << b.preset; }

class Manifests : public ::testing::TestWithParam<Build> {};

TEST_P(Manifests, TypeTwentyFourIdOneInEnglishForTheControlsAndChineseForTheRights) {
  // build/<preset>/app/velocane.exe, beside the build the tests belong to.
  const std::filesystem::path own = driver::VelocanePath();
  const std::filesystem::path exe =
      own.parent_path().parent_path().parent_path() / GetParam().preset / "app" / "velocane.exe";
  if (!std::filesystem::exists(exe)) {
    ASSERT_FALSE(GetParam().required) << exe.string() << " is missing";
    GTEST_SKIP() << exe.string() << " was not built";
  }
  std::string error;
  const std::optional<Resources> resources = ReadResources(exe, &error);
  ASSERT_TRUE(resources) << exe.string() << ": " << error;

  // The architecture the manifest names is the one the executable is built for.
  ASSERT_TRUE(resources->machine == IMAGE_FILE_MACHINE_AMD64 ||
              resources->machine == IMAGE_FILE_MACHINE_I386)
      << resources->machine;
  const std::string arch = resources->machine == IMAGE_FILE_MACHINE_AMD64 ? "amd64" : "X86";
  EXPECT_EQ(arch == "amd64", std::string(GetParam().preset).find("x64") != std::string::npos);

  EXPECT_EQ(resources->manifest_ids, std::vector<std::uintptr_t>{1});
  constexpr WORD kEnglishUnitedStates = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
  constexpr WORD kChinesePrc = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
  static_assert(kEnglishUnitedStates == 1033 && kChinesePrc == 2052);
  std::vector<WORD> languages;
  for (const auto& [language, text] : resources->manifests) languages.push_back(language);
  EXPECT_EQ(languages, (std::vector<WORD>{kEnglishUnitedStates, kChinesePrc}));

  const std::map<WORD, std::string> expected{
      {kEnglishUnitedStates,
       "assembly manifestVersion=\"1.0\" xmlns=\"urn:schemas-microsoft-com:asm.v1\"\n"
       "  assemblyIdentity name=\"CompanyName.ProductName.YourApp\" processorArchitecture=\"" +
           arch +
           "\" type=\"win32\" version=\"1.0.0.0\"\n"
           "  description text=\"Your application description here.\"\n"
           "  dependency\n"
           "    dependentAssembly\n"
           "      assemblyIdentity language=\"*\" name=\"Microsoft.Windows.Common-Controls\" "
           "processorArchitecture=\"" +
           arch +
           "\" publicKeyToken=\"6595b64144ccf1df\" type=\"win32\" version=\"6.0.0.0\"\n"
           "  application xmlns=\"urn:schemas-microsoft-com:asm.v3\"\n"
           "    windowsSettings\n"
           "      dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\" "
           "text=\"true/pm\"\n"
           "      dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\" "
           "text=\"PerMonitorV2, PerMonitor\"\n"},
      {kChinesePrc,
       "assembly manifestVersion=\"1.0\" xmlns=\"urn:schemas-microsoft-com:asm.v1\"\n"
       "  trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\"\n"
       "    security\n"
       "      requestedPrivileges\n"
       "        requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"False\"\n"
       "  application xmlns=\"urn:schemas-microsoft-com:asm.v3\"\n"
       "    windowsSettings\n"
       "      dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\" "
       "text=\"true/pm\"\n"
       "      dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\" "
       "text=\"PerMonitorV2, PerMonitor\"\n"}};
  for (const auto& [language, text] : resources->manifests) {
    SCOPED_TRACE("language " + std::to_string(language));
    XmlReader reader(text);
    const std::optional<Element> root = reader.Document();
    ASSERT_TRUE(root) << reader.Error() << "\n" << text;
    std::string outline;
    Outline(*root, 0, &outline);
    ASSERT_TRUE(expected.contains(language));
    EXPECT_EQ(outline, expected.at(language));
  }
}

INSTANTIATE_TEST_SUITE_P(Builds, Manifests,
                         ::testing::Values(Build{"windows-x64", true}, Build{"windows-x86", false},
                                           Build{"windows-x64-release", false},
                                           Build{"windows-x86-release", false}),
                         [](const ::testing::TestParamInfo<Build>& info) {
                           std::string name = info.param.preset;
                           for (char& c : name) c = c == '-' ? '_' : c;
                           return name;
                         });

}  // namespace
}  // namespace velocane
