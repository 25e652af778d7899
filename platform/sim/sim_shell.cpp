#include "platform/sim/sim_shell.h"

#include <algorithm>
#include <stdexcept>

#include "platform/framework/exceptions.h"
#include "platform/messages.h"
#include "platform/process.h"
#include "platform/sim/sim_codepage.h"
#include "platform/sim/sim_errors.h"

namespace velocane::sim {

const char* ShellCallName(ShellCall call) {
  switch (call) {
    case ShellCall::kCreateShellWindows:
      return "CreateShellWindows";
    case ShellCall::kCount:
      return "Count";
    case ShellCall::kItem:
      return "Item";
    case ShellCall::kQueryBrowser:
      return "QueryBrowser";
    case ShellCall::kLocationURL:
      return "LocationURL";
    case ShellCall::kLocationName:
      return "LocationName";
    case ShellCall::kHwnd:
      return "Hwnd";
    case ShellCall::kNavigate:
      return "Navigate";
    case ShellCall::kVisible:
      return "Visible";
    case ShellCall::kCreateBrowser:
      return "CreateBrowser";
  }
  return "?";
}

class SimBrowser final : public ShellBrowser {
 public:
  SimBrowser(SimShell& shell, std::shared_ptr<SimShell::Window> window)
      : shell_(shell), window_(std::move(window)) {
    ++shell_.live_browsers_;
  }
  ~SimBrowser() override { --shell_.live_browsers_; }
  SimBrowser(const SimBrowser&) = delete;
  SimBrowser& operator=(const SimBrowser&) = delete;

  int Id() const { return window_->id; }

  std::string LocationURL() override {
    Enter(ShellCall::kLocationURL);
    return ToAnsi(window_->url);
  }
  std::string LocationName() override {
    Enter(ShellCall::kLocationName);
    return ToAnsi(window_->title);
  }
  WindowHandle Hwnd() override {
    Enter(ShellCall::kHwnd);
    return window_->hwnd;
  }
  void Navigate(const std::string& url) override {
    Enter(ShellCall::kNavigate);
    window_->navigations.push_back(FromAnsi(url));
    window_->url = window_->navigations.back();
    window_->title.clear();
  }
  void SetVisible(bool visible) override {
    Enter(ShellCall::kVisible);
    window_->visible = visible;
    if (window_->own_hwnd) {
      shell_.windowing_.ShowWindow(window_->hwnd, visible ? showcmd::kShow : showcmd::kHide);
    }
  }

 private:
  void Enter(ShellCall call) {
    shell_.Enter(call, window_->id);
    if (!window_->open) shell_.Raise(hresult::kDisconnected);
  }

  SimShell& shell_;
  std::shared_ptr<SimShell::Window> window_;
};

class SimShellItem final : public ShellItem {
 public:
  SimShellItem(SimShell& shell, std::shared_ptr<SimShell::Window> window)
      : shell_(shell), window_(std::move(window)) {}

  BrowserRef QueryBrowser() override {
    // QueryInterface has no error information: every failure is a failed cast.
    try {
      shell_.Enter(ShellCall::kQueryBrowser, window_->id);
    } catch (const EOleSysError&) {
      throw EIntfCastError("Interface not supported");
    }
    if (window_->kind != SimShell::Window::Kind::kBrowser || !window_->open) {
      throw EIntfCastError("Interface not supported");
    }
    return std::make_shared<SimBrowser>(shell_, window_);
  }

 private:
  SimShell& shell_;
  std::shared_ptr<SimShell::Window> window_;
};

class SimShellWindows final : public ShellWindows {
 public:
  SimShellWindows(SimShell& shell, int generation) : shell_(shell), generation_(generation) {}

  int Count() override {
    Enter(ShellCall::kCount);
    return static_cast<int>(shell_.items_.size());
  }
  ShellItemRef Item(int index) override {
    // Out of range gives S_FALSE and no item, as the shell's collection does.
    const bool in_range = index >= 0 && index < static_cast<int>(shell_.items_.size());
    const auto window = in_range ? shell_.items_[static_cast<std::size_t>(index)] : nullptr;
    Enter(ShellCall::kItem, window ? window->id : 0);
    if (!window || window->kind == SimShell::Window::Kind::kNil) return nullptr;
    return std::make_shared<SimShellItem>(shell_, window);
  }

 private:
  void Enter(ShellCall call, int id = 0) {
    shell_.Enter(call, id);
    if (!shell_.server_running_ || generation_ != shell_.server_generation_) {
      shell_.Raise(hresult::kServerUnavailable);
    }
    if (shell_.collection_answer_ < 0) shell_.Raise(shell_.collection_answer_);
  }

  SimShell& shell_;
  int generation_;
};

SimShell::SimShell(SimWindowing& windowing) : windowing_(windowing) {}

SimShell::~SimShell() = default;

std::optional<SimShell::Failure> SimShell::Due(std::deque<Failure>& pending) {
  for (Failure& failure : pending) --failure.countdown;
  auto due = std::find_if(pending.begin(), pending.end(),
                          [](const Failure& failure) { return failure.countdown <= 0; });
  if (due == pending.end()) return std::nullopt;
  const Failure failure = *due;
  pending.erase(due);
  return failure;
}

void SimShell::Enter(ShellCall call, int id) {
  const auto kind = static_cast<std::size_t>(call);
  ++calls_[kind];
  if (keep_journal_) journal_.push_back(CallRecord{call, id});
  std::optional<Failure> failure = Due(failures_[kind]);
  for (WindowFailures& window : window_failures_) {
    if (window.id != id) continue;
    std::optional<Failure> own = Due(window.failures[kind]);
    if (!failure) failure = std::move(own);
  }
  if (failure) Raise(failure->hr, failure->description);
}

void SimShell::Raise(HResult hr, const std::string& description) const {
  if (!description.empty()) throw EOleException(hr, description, "SimShell");
  throw EOleSysError(hr, SystemErrorText(static_cast<unsigned>(hr)));
}

ShellWindowsRef SimShell::CreateShellWindows() {
  Enter(ShellCall::kCreateShellWindows);
  if (!server_running_) Raise(hresult::kClassNotRegistered);
  return std::make_shared<SimShellWindows>(*this, server_generation_);
}

BrowserRef SimShell::CreateBrowser() {
  Enter(ShellCall::kCreateBrowser);
  auto window = std::make_shared<Window>();
  window->visible = false;
  const int id = AddItem(window);
  window->hwnd = MakeTopLevel(id, false);
  window->own_hwnd = true;
  auto browser = std::make_shared<SimBrowser>(*this, window);
  if (on_create_browser) on_create_browser();
  return browser;
}

WindowHandle SimShell::MakeTopLevel(int id, bool visible) {
  // The close command of the window's system menu closes the browser.
  WindowProc proc = [this, id](std::uint32_t msg, std::uintptr_t wparam,
                               std::intptr_t) -> std::optional<std::intptr_t> {
    if (msg != wm::kSysCommand || (wparam & 0xFFF0) != sc::kClose) return std::nullopt;
    Close(id);
    return 0;
  };
  if (visible) return windowing_.AddWindow("IEFrame", "", std::move(proc));
  return windowing_.CreateHiddenWindow("IEFrame", "", false, std::move(proc)).handle;
}

int SimShell::AddItem(std::shared_ptr<Window> window) {
  window->id = next_id_++;
  items_.push_back(window);
  return window->id;
}

int SimShell::Open(const std::u16string& url, const std::u16string& title,
                   WindowHandle shared_hwnd) {
  auto window = std::make_shared<Window>();
  window->url = url;
  window->title = title;
  const int id = AddItem(window);
  if (shared_hwnd) {
    window->hwnd = shared_hwnd;
  } else {
    window->hwnd = MakeTopLevel(id, true);
    window->own_hwnd = true;
  }
  return id;
}

int SimShell::AddForeignItem() {
  auto window = std::make_shared<Window>();
  window->kind = Window::Kind::kForeign;
  return AddItem(window);
}

int SimShell::AddNilItem() {
  auto window = std::make_shared<Window>();
  window->kind = Window::Kind::kNil;
  return AddItem(window);
}

SimShell::Window& SimShell::Find(int id) {
  return const_cast<Window&>(static_cast<const SimShell*>(this)->Find(id));
}

const SimShell::Window& SimShell::Find(int id) const {
  for (const auto* list : {&items_, &closed_}) {
    for (const auto& window : *list) {
      if (window->id == id) return *window;
    }
  }
  throw std::out_of_range("no simulated shell window " + std::to_string(id));
}

void SimShell::Navigate(int id, const std::u16string& url, const std::u16string& title) {
  Window& window = Find(id);
  window.url = url;
  window.title = title;
}

void SimShell::Retitle(int id, const std::u16string& title) { Find(id).title = title; }

void SimShell::Close(int id) {
  auto it = std::find_if(items_.begin(), items_.end(),
                         [id](const auto& window) { return window->id == id; });
  if (it == items_.end()) return;
  std::shared_ptr<Window> window = *it;
  items_.erase(it);
  window->open = false;
  window->visible = false;
  closed_.push_back(window);
  if (window->own_hwnd) windowing_.DestroyWindow(window->hwnd);
}

WindowHandle SimShell::HwndOf(int id) const { return Find(id).hwnd; }
bool SimShell::IsOpen(int id) const { return Find(id).open; }
bool SimShell::IsVisible(int id) const { return Find(id).visible; }

const std::vector<std::u16string>& SimShell::NavigationsOf(int id) const {
  return Find(id).navigations;
}

std::vector<int> SimShell::Ids() const {
  std::vector<int> ids;
  for (const auto& window : items_) ids.push_back(window->id);
  return ids;
}

void SimShell::FailCall(ShellCall call, HResult hr, std::string description, int nth) {
  failures_[static_cast<std::size_t>(call)].push_back(Failure{nth, hr, std::move(description)});
}

void SimShell::FailCallOn(int id, ShellCall call, HResult hr, std::string description, int nth) {
  auto it = std::find_if(window_failures_.begin(), window_failures_.end(),
                         [id](const WindowFailures& window) { return window.id == id; });
  if (it == window_failures_.end()) it = window_failures_.insert(it, WindowFailures{id, {}});
  it->failures[static_cast<std::size_t>(call)].push_back(Failure{nth, hr, std::move(description)});
}

int SimShell::PendingFailures() const {
  std::size_t pending = 0;
  for (const auto& kind : failures_) pending += kind.size();
  for (const WindowFailures& window : window_failures_) {
    for (const auto& kind : window.failures) pending += kind.size();
  }
  return static_cast<int>(pending);
}

void SimShell::ClearFailures() {
  for (auto& kind : failures_) kind.clear();
  window_failures_.clear();
}

void SimShell::ResetCalls() {
  calls_.fill(0);
  journal_.clear();
}

int SimShell::IdOf(const ShellBrowser* browser) {
  const auto* own = dynamic_cast<const SimBrowser*>(browser);
  return own != nullptr ? own->Id() : 0;
}

void SimShell::StopServer() { server_running_ = false; }

void SimShell::StartServer() {
  if (server_running_) return;
  server_running_ = true;
  ++server_generation_;
}

int SimShell::TotalCalls() const {
  int total = 0;
  for (int count : calls_) total += count;
  return total;
}

}  // namespace velocane::sim
