// clang-format off
#include "platform/win/backends/x11/x11_keys.h"

#include <gtest/gtest.h>

#include <X11/X.h>
#include <X11/keysym.h>
// clang-format on

namespace {

struct TKeyCase {
  unsigned long Keysym;
  Word Vk;
  bool Extended;
};

TEST(X11Keys, KeysymsGiveThePlatformsVirtualKeys) {
  const TKeyCase cases[] = {
      {XK_a, 'A', false},  // letters by their capital, whatever the case
      {XK_Z, 'Z', false},
      {XK_0, '0', false},
      {XK_9, '9', false},
      {XK_F1, VK_F1, false},
      {XK_F12, VK_F12, false},
      {XK_Return, VK_RETURN, false},
      {XK_KP_Enter, VK_RETURN, true},          // the keypad's Enter is the extended one
      {XK_Home, VK_HOME, true},                // the navigation block is extended ...
      {XK_KP_Home, VK_HOME, false},            // ... the keypad's copy (NumLock off) is not
      {XK_KP_7, Word(VK_NUMPAD0 + 7), false},  // NumLock on
      {XK_KP_Divide, VK_DIVIDE, true},
      {XK_Delete, VK_DELETE, true},
      {XK_Shift_R, VK_SHIFT, false},  // sides share one key code; the right Ctrl and Alt are extended
      {XK_Control_L, VK_CONTROL, false},
      {XK_Control_R, VK_CONTROL, true},
      {XK_Alt_L, VK_MENU, false},
      {XK_ISO_Level3_Shift, VK_MENU, true},
      {XK_ISO_Left_Tab, VK_TAB, false},  // Shift+Tab is still Tab
      {XK_semicolon, VK_OEM_1, false},
      {XK_question, VK_OEM_2, false},
      {XK_bracketright, VK_OEM_6, false},
      {XK_eacute, 0, false},  // no key of its own: comes as text only
  };
  for (const TKeyCase& c : cases) {
    TX11Key key = X11KeysymToKey(c.Keysym);
    EXPECT_EQ(key.Vk, c.Vk) << "keysym 0x" << std::hex << c.Keysym;
    EXPECT_EQ(key.Extended, c.Extended) << "keysym 0x" << std::hex << c.Keysym;
  }
}

struct TCharCase {
  const char* Text;
  unsigned long Keysym;
  Word Vk;
  std::vector<DWORD> Expected;
};

TEST(X11Keys, KeyTextBecomesCharacters) {
  const TCharCase cases[] = {
      {"a", XK_a, 'A', {'a'}},
      {"\xC3\xA9", XK_eacute, 0, {0xE9}},                           // two-byte UTF-8
      {"\xE4\xB8\xAD\xE6\x96\x87", NoSymbol, 0, {0x4E2D, 0x6587}},  // an input method's commit
      {"\x7F", XK_Delete, VK_DELETE, {}},                           // Delete gives no character
      {"\x7F", XK_BackSpace, VK_BACK, {0x7F}},                      // Ctrl+Backspace does
      {"\r", XK_Return, VK_RETURN, {'\r'}},
      {"", 0x010020AC, 0, {0x20AC}},  // a Unicode keysym without text
      {"", XK_Shift_L, VK_SHIFT, {}},
      {"\xC3", XK_a, 'A', {}},              // cut short
      {"\xC0\xAF", NoSymbol, 0, {}},        // overlong
      {"\xED\xA0\x80", NoSymbol, 0, {}},    // a surrogate
      {"x\x80y", NoSymbol, 0, {'x', 'y'}},  // a stray continuation byte is skipped
  };
  for (const TCharCase& c : cases) {
    EXPECT_EQ(X11KeyCharacters(c.Text, int(std::char_traits<char>::length(c.Text)), c.Keysym, c.Vk),
              c.Expected)
        << "text \"" << c.Text << "\"";
  }
}

}  // namespace
