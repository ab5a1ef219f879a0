// The end sound: one player thread owns every SDL audio call; the audio callback only copies bytes.
#include "platform/shell/sound.h"

#include <SDL/SDL.h>

#include <algorithm>
#include <chrono>
#include <cstring>

#include "platform/rtl/dynlib.h"
#include "platform/rtl/files.h"
#include "platform/shell/serviceslot.h"
#include "platform/shell/shelllog.h"

struct TSdlSoundService::TSdl {
  HMODULE Library = nullptr;
  decltype(&::SDL_InitSubSystem) InitSubSystem = nullptr;
  decltype(&::SDL_QuitSubSystem) QuitSubSystem = nullptr;
  decltype(&::SDL_WasInit) WasInit = nullptr;
  decltype(&::SDL_GetError) GetError = nullptr;
  decltype(&::SDL_RWFromFile) RWFromFile = nullptr;
  decltype(&::SDL_LoadWAV_RW) LoadWAV_RW = nullptr;
  decltype(&::SDL_FreeWAV) FreeWAV = nullptr;
  decltype(&::SDL_OpenAudio) OpenAudio = nullptr;
  decltype(&::SDL_PauseAudio) PauseAudio = nullptr;
  decltype(&::SDL_CloseAudio) CloseAudio = nullptr;
  decltype(&::SDL_LockAudio) LockAudio = nullptr;
  decltype(&::SDL_UnlockAudio) UnlockAudio = nullptr;
  Byte Silence = 0;

  ~TSdl() {
    if (Library) FreeLibrary(Library);
  }
  String Error() const { return GetError ? String(GetError()) : String(); }
};

namespace {

template <class TFunction>
bool bindOne(HMODULE library, const char* name, TFunction& slot) {
  slot = reinterpret_cast<TFunction>(GetProcAddress(library, name));
  return slot != nullptr;
}

}  // namespace

TSdlSoundService::TSdlSoundService(String library) : FLibraryName(std::move(library)) {}

TSdlSoundService::~TSdlSoundService() {
  {
    std::lock_guard<std::mutex> guard(FLock);
    FQuit = true;
  }
  FWake.notify_all();
  if (FThread.joinable()) FThread.join();
}

bool TSdlSoundService::PlayAsync(const String& wavFile) {
  if (!FileExists(wavFile)) {
    ShellLog("no end sound: the file \"" + wavFile + "\" does not exist", slWarning);
    return false;
  }
  if (!FBindTried) {
    FBindTried = true;
    auto sdl = std::make_unique<TSdl>();
    // SDL's own dependencies cannot be unloaded and loaded again safely.
    sdl->Library = LoadLibrary(FLibraryName, true);
    bool ok = sdl->Library && bindOne(sdl->Library, "SDL_InitSubSystem", sdl->InitSubSystem) &&
              bindOne(sdl->Library, "SDL_QuitSubSystem", sdl->QuitSubSystem) &&
              bindOne(sdl->Library, "SDL_WasInit", sdl->WasInit) &&
              bindOne(sdl->Library, "SDL_GetError", sdl->GetError) &&
              bindOne(sdl->Library, "SDL_RWFromFile", sdl->RWFromFile) &&
              bindOne(sdl->Library, "SDL_LoadWAV_RW", sdl->LoadWAV_RW) &&
              bindOne(sdl->Library, "SDL_FreeWAV", sdl->FreeWAV) &&
              bindOne(sdl->Library, "SDL_OpenAudio", sdl->OpenAudio) &&
              bindOne(sdl->Library, "SDL_PauseAudio", sdl->PauseAudio) &&
              bindOne(sdl->Library, "SDL_CloseAudio", sdl->CloseAudio) &&
              bindOne(sdl->Library, "SDL_LockAudio", sdl->LockAudio) &&
              bindOne(sdl->Library, "SDL_UnlockAudio", sdl->UnlockAudio);
    if (ok) {
      FSdl = std::move(sdl);
    } else {
      ShellLog("no end sound: " + LastLibraryError(), slWarning);
    }
  }
  if (!FSdl) return false;
  {
    std::lock_guard<std::mutex> guard(FLock);
    FPending = wavFile;
    FHasPending = true;
    if (!FThread.joinable()) FThread = std::thread([this] { Run(); });
  }
  FWake.notify_all();
  return true;
}

TSdlSoundService::TStats TSdlSoundService::Stats() const {
  std::lock_guard<std::mutex> guard(FLock);
  return FStats;
}

bool TSdlSoundService::WaitIdle(Cardinal waitMs) {
  std::unique_lock<std::mutex> lock(FLock);
  return FWake.wait_for(lock, std::chrono::milliseconds(waitMs),
                        [this] { return !FHasPending && !FStarting && !FPlaying; });
}

void TSdlSoundService::Run() {
  std::unique_lock<std::mutex> lock(FLock);
  for (;;) {
    FWake.wait(lock, [this] { return FQuit || FHasPending || (FPlaying && FEnded); });
    if (FPlaying) {
      bool cut = !FEnded;
      lock.unlock();
      Stop(cut);
      lock.lock();
      FPlaying = false;
      ++(cut ? FStats.Cut : FStats.Completed);
      FWake.notify_all();
    }
    if (FQuit) return;
    if (FHasPending) {
      // A request made while this one starts waits for the next turn and cuts it.
      String file = FPending;
      FHasPending = false;
      FStarting = true;
      lock.unlock();
      bool started = Start(file);
      lock.lock();
      FStarting = false;
      FPlaying = started;
      ++(started ? FStats.Started : FStats.Failed);
      FWake.notify_all();
    }
  }
}

bool TSdlSoundService::Start(const String& file) {
  TSdl& sdl = *FSdl;
  if (!sdl.WasInit(SDL_INIT_AUDIO)) {
    if (sdl.InitSubSystem(SDL_INIT_AUDIO) < 0) {
      ShellLog("no end sound: no audio device (" + sdl.Error() + ")", slWarning);
      return false;
    }
    FInitedAudio = true;
  }
  auto quitAudio = [&] {
    if (FInitedAudio) sdl.QuitSubSystem(SDL_INIT_AUDIO);
    FInitedAudio = false;
  };
  SDL_AudioSpec format{};
  Uint8* buffer = nullptr;
  Uint32 length = 0;
  SDL_RWops* source = sdl.RWFromFile(file.c_str(), "rb");
  if (!source || !sdl.LoadWAV_RW(source, 1, &format, &buffer, &length)) {
    ShellLog("no end sound: \"" + file + "\" cannot be read (" + sdl.Error() + ")", slWarning);
    quitAudio();
    return false;
  }
  format.callback = &TSdlSoundService::Fill;
  format.userdata = this;
  {
    std::lock_guard<std::mutex> guard(FLock);
    FEnded = false;
  }
  FBuffer = buffer;
  FLength = length;
  FOffset = 0;
  // Without an obtained record SDL converts to the device's format itself.
  if (sdl.OpenAudio(&format, nullptr) < 0) {
    ShellLog("no end sound: the audio device cannot be opened (" + sdl.Error() + ")", slWarning);
    sdl.FreeWAV(buffer);
    FBuffer = nullptr;
    quitAudio();
    return false;
  }
  // The callback runs under SDL's audio lock: taken here, it sees the silence set.
  sdl.LockAudio();
  sdl.Silence = format.silence;
  sdl.PauseAudio(0);
  sdl.UnlockAudio();
  return true;
}

void TSdlSoundService::Stop(bool) {
  TSdl& sdl = *FSdl;
  sdl.PauseAudio(1);
  sdl.CloseAudio();  // waits for the callback to finish
  if (FBuffer) sdl.FreeWAV(FBuffer);
  FBuffer = nullptr;
  if (FInitedAudio) sdl.QuitSubSystem(SDL_INIT_AUDIO);
  FInitedAudio = false;
}

void TSdlSoundService::Fill(void* self, unsigned char* stream, int length) {
  auto* s = static_cast<TSdlSoundService*>(self);
  UInt64 left = s->FLength - std::min(s->FOffset, s->FLength);
  UInt64 n = std::min<UInt64>(left, UInt64(std::max(length, 0)));
  if (n) std::memcpy(stream, s->FBuffer + s->FOffset, size_t(n));
  if (UInt64(length) > n) std::memset(stream + n, s->FSdl->Silence, size_t(UInt64(length) - n));
  s->FOffset += n;
  // The call after the last bytes went out: the device has had them, the sound is over.
  if (n == 0) {
    {
      std::lock_guard<std::mutex> guard(s->FLock);
      if (s->FEnded) return;
      s->FEnded = true;
    }
    s->FWake.notify_all();
  }
}

namespace {

TServiceSlot<TSoundService>& slot() {
  static TServiceSlot<TSoundService> s([] { return std::make_unique<TSdlSoundService>(); });
  return s;
}

}  // namespace

TSoundService& SoundService() {
  return slot().Get();
}

void SetSoundService(std::unique_ptr<TSoundService> service) {
  slot().Set(std::move(service));
}
