// The player's two platform threads: the play thread (SDL event loop) and the event thread (drains
// the play-event ring into OnPosition and OnState). Both start at once and free themselves.
#pragma once

#include "engine/player/playercore.h"
#include "platform/rtl/threads.h"

class TPlayThread : public TThread {
 public:
  explicit TPlayThread(TPlayerCore* AOwner);
  ~TPlayThread() override;
  String ClassName() const override { return "TPlayThread"; }

 protected:
  void Execute() override;

 private:
  TPlayerCore* FOwner;
};

class TEventThread : public TThread {
 public:
  explicit TEventThread(TPlayerCore* AOwner);
  ~TEventThread() override;
  String ClassName() const override { return "TEventThread"; }

 protected:
  void Execute() override;

 private:
  // Raises OnPosition (or OnState) where the owner wants its events.
  void Deliver(bool APosition);
  TPlayerCore* FOwner;
};
