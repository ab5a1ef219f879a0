// The recording tray.
#include "platform/shell/tray.h"

#include <algorithm>

#include "platform/rtl/strings.h"
#include "platform/shell/serviceslot.h"
#include "platform/win/icon.h"

namespace {

String cut(const String& s, Integer length) {
  return Utf8Length(s) > length ? Utf8Copy(s, 0, length) : s;
}

void setIcon(HICON& slot, HICON icon) {
  if (slot) DestroyIcon(slot);
  slot = icon ? CopyIcon(icon) : nullptr;
}

}  // namespace

TRecordingTrayService::~TRecordingTrayService() {
  for (TTrayIcon& icon : FIcons) {
    WinRemoveTrayIcon(icon.Wnd, icon.Id);
    setIcon(icon.Icon, nullptr);
  }
}

const TRecordingTrayService::TTrayIcon* TRecordingTrayService::Find(HWND wnd, UINT id) const {
  for (const TTrayIcon& icon : FIcons) {
    if (icon.Wnd == wnd && icon.Id == id) return &icon;
  }
  return nullptr;
}

bool TRecordingTrayService::NotifyIcon(DWORD message, const NOTIFYICONDATA& data) {
  auto it = std::find_if(FIcons.begin(), FIcons.end(),
                         [&](const TTrayIcon& i) { return i.Wnd == data.hWnd && i.Id == data.uID; });
  switch (message) {
    case NIM_ADD:
      if (it != FIcons.end() || !IsWindow(data.hWnd)) return false;
      FIcons.emplace_back();
      it = FIcons.end() - 1;
      it->Wnd = data.hWnd;
      it->Id = data.uID;
      break;
    case NIM_MODIFY:
      if (it == FIcons.end()) return false;
      break;
    case NIM_DELETE:
      if (it == FIcons.end()) return false;
      WinRemoveTrayIcon(it->Wnd, it->Id);
      setIcon(it->Icon, nullptr);
      FIcons.erase(it);
      return true;
    default:
      return false;
  }
  if (data.uFlags & NIF_MESSAGE) it->CallbackMessage = data.uCallbackMessage;
  if (data.uFlags & NIF_ICON) setIcon(it->Icon, data.hIcon);
  if (data.uFlags & NIF_TIP) it->Tip = cut(data.szTip, NotifyTipLength);
  if (data.uFlags & NIF_INFO) {
    it->Info = cut(data.szInfo, NotifyInfoLength);
    it->InfoTitle = cut(data.szInfoTitle, NotifyInfoTitleLength);
    it->InfoFlags = data.dwInfoFlags;
  }
  String balloon = it->InfoTitle.empty() || it->Info.empty() ? it->Info : it->InfoTitle + "\n" + it->Info;
  it->Docked = WinShowTrayIcon(it->Wnd, it->Id, it->CallbackMessage, it->Icon, it->Tip, balloon);
  return true;
}

bool TRecordingTrayService::Notify(HWND wnd, UINT id, UINT event) {
  const TTrayIcon* icon = Find(wnd, id);
  if (!icon || !icon->CallbackMessage || !IsWindow(wnd)) return false;
  SendMessage(wnd, icon->CallbackMessage, WPARAM(id), LPARAM(event));
  return true;
}

namespace {

TServiceSlot<TTrayService>& slot() {
  static TServiceSlot<TTrayService> s([] { return std::make_unique<TRecordingTrayService>(); });
  return s;
}

}  // namespace

TTrayService& TrayService() {
  return slot().Get();
}

void SetTrayService(std::unique_ptr<TTrayService> service) {
  slot().Set(std::move(service));
}

bool Shell_NotifyIcon(DWORD message, const NOTIFYICONDATA* data) {
  return data && TrayService().NotifyIcon(message, *data);
}
