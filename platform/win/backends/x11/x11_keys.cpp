#include "platform/win/backends/x11/x11_keys.h"

#include <X11/keysym.h>

namespace {

struct TKeysymEntry {
  unsigned long Keysym;
  Word Vk;
  bool Extended;
};

// Keys that are neither letters, digits, function keys nor keypad digits.
constexpr TKeysymEntry kSpecialKeys[] = {
    {XK_BackSpace, VK_BACK, false},
    {XK_Tab, VK_TAB, false},
    {XK_ISO_Left_Tab, VK_TAB, false},
    {XK_Clear, VK_CLEAR, false},
    {XK_Return, VK_RETURN, false},
    {XK_Pause, VK_PAUSE, false},
    {XK_Break, VK_PAUSE, false},
    {XK_Scroll_Lock, VK_SCROLL, false},
    {XK_Escape, VK_ESCAPE, false},
    {XK_space, VK_SPACE, false},
    {XK_Home, VK_HOME, true},
    {XK_Left, VK_LEFT, true},
    {XK_Up, VK_UP, true},
    {XK_Right, VK_RIGHT, true},
    {XK_Down, VK_DOWN, true},
    {XK_Prior, VK_PRIOR, true},
    {XK_Next, VK_NEXT, true},
    {XK_End, VK_END, true},
    {XK_Insert, VK_INSERT, true},
    {XK_Delete, VK_DELETE, true},
    {XK_Print, VK_SNAPSHOT, true},
    {XK_Cancel, VK_CANCEL, true},
    {XK_Help, VK_HELP, false},
    {XK_Menu, VK_APPS, true},
    {XK_Num_Lock, VK_NUMLOCK, true},
    {XK_Caps_Lock, VK_CAPITAL, false},
    {XK_Shift_L, VK_SHIFT, false},
    {XK_Shift_R, VK_SHIFT, false},
    {XK_Control_L, VK_CONTROL, false},
    {XK_Control_R, VK_CONTROL, true},
    {XK_Alt_L, VK_MENU, false},
    {XK_Meta_L, VK_MENU, false},
    {XK_Alt_R, VK_MENU, true},
    {XK_Meta_R, VK_MENU, true},
    {XK_ISO_Level3_Shift, VK_MENU, true},
    {XK_Super_L, VK_LWIN, true},
    {XK_Super_R, VK_RWIN, true},
    // The keypad: NumLock off gives the navigation keys (not extended), on gives the digits.
    {XK_KP_Home, VK_HOME, false},
    {XK_KP_Left, VK_LEFT, false},
    {XK_KP_Up, VK_UP, false},
    {XK_KP_Right, VK_RIGHT, false},
    {XK_KP_Down, VK_DOWN, false},
    {XK_KP_Prior, VK_PRIOR, false},
    {XK_KP_Next, VK_NEXT, false},
    {XK_KP_End, VK_END, false},
    {XK_KP_Begin, VK_CLEAR, false},
    {XK_KP_Insert, VK_INSERT, false},
    {XK_KP_Delete, VK_DELETE, false},
    {XK_KP_Enter, VK_RETURN, true},
    {XK_KP_Multiply, VK_MULTIPLY, false},
    {XK_KP_Add, VK_ADD, false},
    {XK_KP_Separator, VK_SEPARATOR, false},
    {XK_KP_Subtract, VK_SUBTRACT, false},
    {XK_KP_Decimal, VK_DECIMAL, false},
    {XK_KP_Divide, VK_DIVIDE, true},
    {XK_KP_Space, VK_SPACE, false},
    {XK_KP_Tab, VK_TAB, false},
    // Punctuation by the key that carries it on the US layout, shifted or not.
    {XK_semicolon, VK_OEM_1, false},
    {XK_colon, VK_OEM_1, false},
    {XK_equal, VK_OEM_PLUS, false},
    {XK_plus, VK_OEM_PLUS, false},
    {XK_comma, VK_OEM_COMMA, false},
    {XK_less, VK_OEM_COMMA, false},
    {XK_minus, VK_OEM_MINUS, false},
    {XK_underscore, VK_OEM_MINUS, false},
    {XK_period, VK_OEM_PERIOD, false},
    {XK_greater, VK_OEM_PERIOD, false},
    {XK_slash, VK_OEM_2, false},
    {XK_question, VK_OEM_2, false},
    {XK_grave, VK_OEM_3, false},
    {XK_asciitilde, VK_OEM_3, false},
    {XK_bracketleft, VK_OEM_4, false},
    {XK_braceleft, VK_OEM_4, false},
    {XK_backslash, VK_OEM_5, false},
    {XK_bar, VK_OEM_5, false},
    {XK_bracketright, VK_OEM_6, false},
    {XK_braceright, VK_OEM_6, false},
    {XK_apostrophe, VK_OEM_7, false},
    {XK_quotedbl, VK_OEM_7, false},
};

}  // namespace

TX11Key X11KeysymToKey(unsigned long keysym) {
  if (keysym >= XK_a && keysym <= XK_z) return {Word('A' + (keysym - XK_a)), false};
  if (keysym >= XK_A && keysym <= XK_Z) return {Word('A' + (keysym - XK_A)), false};
  if (keysym >= XK_0 && keysym <= XK_9) return {Word('0' + (keysym - XK_0)), false};
  if (keysym >= XK_KP_0 && keysym <= XK_KP_9) return {Word(VK_NUMPAD0 + (keysym - XK_KP_0)), false};
  // F1..F24 are 0x70..0x87 on the platform.
  if (keysym >= XK_F1 && keysym <= XK_F24) return {Word(VK_F1 + (keysym - XK_F1)), false};
  for (const TKeysymEntry& e : kSpecialKeys)
    if (e.Keysym == keysym) return {e.Vk, e.Extended};
  return {};
}

bool X11IsKeypadKeysym(unsigned long keysym) {
  return keysym >= XK_KP_Space && keysym <= XK_KP_9;
}

namespace {

// Decodes UTF-8, skipping malformed bytes (an input method hands over what it has).
std::vector<DWORD> decodeUtf8(const char* text, int length) {
  std::vector<DWORD> out;
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  int i = 0;
  while (i < length) {
    unsigned char c = s[i];
    int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || i + extra >= length) {
      ++i;
      continue;
    }
    DWORD cp = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
    bool ok = true;
    for (int k = 1; k <= extra; ++k) {
      if ((s[i + k] & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (s[i + k] & 0x3F);
    }
    if (!ok) {
      ++i;
      continue;
    }
    i += extra + 1;
    static constexpr DWORD kMin[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) continue;
    out.push_back(cp);
  }
  return out;
}

}  // namespace

std::vector<DWORD> X11KeyCharacters(const char* utf8, int length, unsigned long keysym, Word vk) {
  std::vector<DWORD> chars = decodeUtf8(utf8, length);
  // Keysyms 0x01000000 + code point stand for that character.
  if (chars.empty() && keysym >= 0x01000100 && keysym <= 0x0110FFFF)
    chars.push_back(DWORD(keysym - 0x01000000));
  // Delete gives no character on the platform (X hands out DEL for it).
  if (vk == VK_DELETE) std::erase(chars, DWORD(0x7F));
  return chars;
}
