// The end-of-batch sound: a WAV file played asynchronously through SDL 1.2's audio (bound at run
// time from libSDL-1.2.so.0, never linked). A later sound cuts the earlier one. Skipped, with a log
// line, when the file, the library or an audio device is missing; the device is given back as soon
// as the sound ends (the player needs it).
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/rtl/types.h"

class TSoundService {
 public:
  virtual ~TSoundService() = default;
  // Returns at once: true when the sound was handed to the player thread, false when skipped.
  virtual bool PlayAsync(const String& wavFile) = 0;
};

class TSdlSoundService : public TSoundService {
 public:
  struct TStats {
    Integer Started = 0;    // sounds that reached the device
    Integer Completed = 0;  // played to their end
    Integer Cut = 0;        // stopped by a later sound or by closing
    Integer Failed = 0;     // handed over but not playable (bad file, no device)
  };

  explicit TSdlSoundService(String library = "libSDL-1.2.so.0");
  ~TSdlSoundService() override;
  TSdlSoundService(const TSdlSoundService&) = delete;
  TSdlSoundService& operator=(const TSdlSoundService&) = delete;

  bool PlayAsync(const String& wavFile) override;
  TStats Stats() const;
  // Waits until no sound is pending or playing (false when waitMs passed first).
  bool WaitIdle(Cardinal waitMs);

  struct TSdl;  // the bound functions

 private:
  void Run();
  bool Start(const String& file);
  void Stop(bool cut);
  static void Fill(void* self, unsigned char* stream, int length);

  String FLibraryName;
  std::unique_ptr<TSdl> FSdl;  // null until bound; stays null when binding failed
  bool FBindTried = false;

  mutable std::mutex FLock;
  std::condition_variable FWake;
  String FPending;
  bool FHasPending = false;
  bool FQuit = false;
  bool FStarting = false;
  bool FPlaying = false;
  bool FEnded = false;  // set by the audio callback
  TStats FStats;

  // The sound on the device (touched by the audio callback under SDL's audio lock).
  unsigned char* FBuffer = nullptr;
  UInt64 FLength = 0;
  UInt64 FOffset = 0;
  bool FInitedAudio = false;

  std::thread FThread;
};

TSoundService& SoundService();
void SetSoundService(std::unique_ptr<TSoundService> service);
