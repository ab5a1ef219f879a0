// Binding table of SDL 1.2 (the player's library): entries named like the functions, typed with
// their prototypes, nullptr until bound. Call them as libsdl::SDL_Init(...).
#pragma once

#include <SDL/SDL.h>

#include "engine/base/bindings.h"

// SDL 1.2 exports its mutex lock and unlock only as SDL_mutexP/SDL_mutexV and names them
// SDL_LockMutex/SDL_UnlockMutex by macro; here those names are entries of their own.
#undef SDL_LockMutex
#undef SDL_UnlockMutex

#define FF_FUNCTION(name) inline decltype(&::name) name = nullptr;
#define FF_ALIAS(name, exported) inline decltype(&::exported) name = nullptr;

namespace libsdl {
#include "engine/base/tables/sdl.inc"
void Fixup(const TPathFileName& ALibName, HMODULE AHandle);
void Unfix();
}  // namespace libsdl

#undef FF_FUNCTION
#undef FF_ALIAS
