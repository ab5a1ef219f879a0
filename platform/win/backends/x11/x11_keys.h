// Keyboard translation between X keysyms and the layer's virtual keys; pure functions, no connection.
#pragma once

#include <vector>

#include "platform/win/win.h"

struct TX11Key {
  Word Vk = 0;  // 0: no virtual key for this keysym
  bool Extended = false;
};

// The virtual key of a keysym as the platform reports it: letters by their capital, digits and
// punctuation by their unshifted key, keypad keys by their NumLock meaning, left and right modifiers
// as the shared VK_SHIFT / VK_CONTROL / VK_MENU (the right ones extended).
TX11Key X11KeysymToKey(unsigned long keysym);

// Whether a keysym belongs to the numeric keypad (its meaning follows NumLock, so it is taken from the
// translated keysym rather than the key's first level).
bool X11IsKeypadKeysym(unsigned long keysym);

// The characters a key press gives, from its looked-up text (UTF-8) or, when that is empty, from a
// keysym that encodes a character by itself. Characters the platform does not give for the key are
// dropped (Delete gives none).
std::vector<DWORD> X11KeyCharacters(const char* utf8, int length, unsigned long keysym, Word vk);
