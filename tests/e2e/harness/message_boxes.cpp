// Reading and answering another process's message boxes; other-process memory for unmarshalled records.
#include "tests/e2e/harness/harness.h"

namespace mirravel::e2e {

namespace {
constexpr int kMessageBoxTextId = 0xFFFF;
}

MessageBoxInfo WaitForMessageBox(DWORD processId, DWORD timeoutMs) {
  MessageBoxInfo info;
  info.window = WaitForTopLevelWindow(processId, "#32770", nullptr, timeoutMs);
  if (info.window == nullptr) return info;
  info.title = GetText(info.window);
  info.text = GetText(FindControl(info.window, kMessageBoxTextId));
  return info;
}

bool AnswerMessageBox(HWND box, int buttonId) {
  HWND button = ::GetDlgItem(box, buttonId);
  if (button == nullptr) return false;
  Click(button);
  return true;
}

RemoteBuffer::RemoteBuffer(HANDLE process, SIZE_T size)
    : process_(process),
      address_(::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}

RemoteBuffer::~RemoteBuffer() {
  if (address_) ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
}

bool RemoteBuffer::Write(const void* data, SIZE_T size, SIZE_T offset) {
  SIZE_T written = 0;
  return address_ && ::WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, &written) &&
         written == size;
}

bool RemoteBuffer::Read(void* data, SIZE_T size, SIZE_T offset) const {
  SIZE_T read = 0;
  return address_ && ::ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, &read) &&
         read == size;
}

}  // namespace mirravel::e2e
