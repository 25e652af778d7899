// The other program's list view: its rows and selection, and a click on a row.
// What a list view answers about an item goes through memory it can write, so
// the driver borrows a buffer in the list's process.
#include "tools/driver/driver.h"
// After windows.h, which it needs.
#include <commctrl.h>

#include <stdexcept>
#include <string>

#include "platform/win32/handles.h"

namespace velocane::driver {

namespace {

// A buffer in the process of a window; freed, and the process closed, when it goes.
class RemoteBuffer {
 public:
  RemoteBuffer(HWND window, SIZE_T size) {
    DWORD process_id = 0;
    GetWindowThreadProcessId(window, &process_id);
    process_.reset(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process_id));
    if (process_) {
      base_ = static_cast<BYTE*>(
          VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    }
  }
  ~RemoteBuffer() {
    if (base_ != nullptr) VirtualFreeEx(process_.get(), base_, 0, MEM_RELEASE);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  explicit operator bool() const { return base_ != nullptr; }
  // The address `offset` bytes in, as the other process sees it.
  BYTE* At(SIZE_T offset = 0) const { return base_ + offset; }
  void Write(SIZE_T offset, const void* data, SIZE_T size) {
    SIZE_T moved = 0;
    WriteProcessMemory(process_.get(), At(offset), data, size, &moved);
  }
  void Read(SIZE_T offset, void* data, SIZE_T size) const {
    SIZE_T moved = 0;
    ReadProcessMemory(process_.get(), At(offset), data, size, &moved);
  }

 private:
  win32::UniqueKernelHandle process_;
  BYTE* base_ = nullptr;
};

}  // namespace

std::vector<std::vector<std::wstring>> ListViewRows(HWND list, int columns) {
  std::vector<std::vector<std::wstring>> rows;
  constexpr int kChars = 4096;
  // The item, then the text it points to.
  RemoteBuffer remote(list, sizeof(LVITEMW) + kChars * sizeof(wchar_t));
  if (!remote) return rows;
  auto* remote_text = reinterpret_cast<wchar_t*>(remote.At(sizeof(LVITEMW)));
  const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < count; ++row) {
    std::vector<std::wstring> texts;
    for (int column = 0; column < columns; ++column) {
      LVITEMW item{};
      item.iSubItem = column;
      item.cchTextMax = kChars;
      item.pszText = remote_text;
      remote.Write(0, &item, sizeof item);
      const auto length = static_cast<int>(
          SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote.At())));
      std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
      if (length > 0) remote.Read(sizeof(LVITEMW), text.data(), text.size() * sizeof(wchar_t));
      texts.push_back(text);
    }
    rows.push_back(texts);
  }
  return rows;
}

std::vector<int> ListViewSelection(HWND list) {
  std::vector<int> selected;
  for (int row = -1;;) {
    row = static_cast<int>(
        SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED));
    if (row < 0) return selected;
    selected.push_back(row);
  }
}

void ClickListRow(HWND list, int row) {
  RECT rect{LVIR_BOUNDS, 0, 0, 0};
  bool got = false;
  {
    RemoteBuffer remote(list, sizeof rect);
    if (!remote) throw std::runtime_error("cannot open the list's process");
    remote.Write(0, &rect, sizeof rect);
    got = SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                       reinterpret_cast<LPARAM>(remote.At())) != FALSE;
    remote.Read(0, &rect, sizeof rect);
  }
  if (!got) throw std::runtime_error("the list has no row " + std::to_string(row));
  // Inside the first column, clear of the grid lines.
  ClickAt(list, rect.left + 10, (rect.top + rect.bottom) / 2);
}

}  // namespace velocane::driver
