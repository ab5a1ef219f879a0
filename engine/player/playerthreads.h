// The player's two platform threads: the play thread (SDL event loop) and the event thread (drains
// the play-event ring into OnPosition and OnState). Both start at once and free themselves.
#pragma once

#include "engine/player/customplayer.h"
#include "platform/rtl/threads.h"

class TPlayThread : public TThread {
 public:
  explicit TPlayThread(TCustomPlayer* AOwner);
  ~TPlayThread() override;
  String ClassName() const override { return "TPlayThread"; }

 protected:
  void Execute() override;

 private:
  TCustomPlayer* FOwner;
};

class TEventThread : public TThread {
 public:
  explicit TEventThread(TCustomPlayer* AOwner);
  ~TEventThread() override;
  String ClassName() const override { return "TEventThread"; }

 protected:
  void Execute() override;

 private:
  // Raises OnPosition (or OnState) where the owner wants its events.
  void Deliver(bool APosition);
  TCustomPlayer* FOwner;
};
