// The notification-area (tray) icon. Every icon is kept and recorded here and, when the display has
// a system tray, shown in it. What a person does on it arrives as its callback message, from the tray
// or, headless, through Notify, so the icon's menu is reachable from tests.
#pragma once

#include <memory>
#include <vector>

#include "platform/win/win.h"

constexpr DWORD NIM_ADD = 0;
constexpr DWORD NIM_MODIFY = 1;
constexpr DWORD NIM_DELETE = 2;
constexpr UINT NIF_MESSAGE = 0x01;
constexpr UINT NIF_ICON = 0x02;
constexpr UINT NIF_TIP = 0x04;
constexpr UINT NIF_INFO = 0x10;
constexpr DWORD NIIF_NONE = 0;
constexpr DWORD NIIF_INFO = 1;
constexpr DWORD NIIF_WARNING = 2;
constexpr DWORD NIIF_ERROR = 3;
constexpr UINT NIN_BALLOONSHOW = WM_USER + 2;
constexpr UINT NIN_BALLOONHIDE = WM_USER + 3;
constexpr UINT NIN_BALLOONTIMEOUT = WM_USER + 4;
constexpr UINT NIN_BALLOONUSERCLICK = WM_USER + 5;
// The longest texts the record holds, in characters (longer ones are cut).
constexpr Integer NotifyTipLength = 127;
constexpr Integer NotifyInfoLength = 255;
constexpr Integer NotifyInfoTitleLength = 63;

struct NOTIFYICONDATA {
  HWND hWnd = nullptr;  // receives uCallbackMessage (wParam: uID, lParam: the mouse message)
  UINT uID = 0;
  UINT uFlags = 0;  // which of the fields below count
  UINT uCallbackMessage = 0;
  HICON hIcon = nullptr;
  String szTip;
  String szInfo;  // a balloon; empty hides it
  String szInfoTitle;
  DWORD dwInfoFlags = NIIF_NONE;
};

class TTrayService {
 public:
  virtual ~TTrayService() = default;
  // NIM_ADD / NIM_MODIFY / NIM_DELETE; true when it succeeded.
  virtual bool NotifyIcon(DWORD message, const NOTIFYICONDATA& data) = 0;
};

// Keeps the icons (with a copy of their pictures) and their texts.
class TRecordingTrayService : public TTrayService {
 public:
  struct TTrayIcon {
    HWND Wnd = nullptr;
    UINT Id = 0;
    UINT CallbackMessage = 0;
    HICON Icon = nullptr;  // the tray's own copy
    String Tip;
    String Info;
    String InfoTitle;
    DWORD InfoFlags = NIIF_NONE;
    bool Docked = false;  // shown in the desktop's system tray
  };

  ~TRecordingTrayService() override;
  // Refused: adding an icon that exists or for a window that is not one; changing or deleting one
  // that does not exist; an unknown message.
  bool NotifyIcon(DWORD message, const NOTIFYICONDATA& data) override;

  const std::vector<TTrayIcon>& Icons() const { return FIcons; }
  const TTrayIcon* Find(HWND wnd, UINT id) const;
  // A person's mouse on the icon (WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK,
  // WM_RBUTTONDOWN, WM_RBUTTONUP, …) or on its balloon (NIN_BALLOONUSERCLICK): the icon's callback
  // message is sent to its window. False when the icon is not there or has no callback message.
  bool Notify(HWND wnd, UINT id, UINT event);

 private:
  std::vector<TTrayIcon> FIcons;
};

TTrayService& TrayService();
void SetTrayService(std::unique_ptr<TTrayService> service);
// TrayService().NotifyIcon(message, *data); false for null data.
bool Shell_NotifyIcon(DWORD message, const NOTIFYICONDATA* data);
