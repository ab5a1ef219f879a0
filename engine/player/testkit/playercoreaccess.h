// The player's tests reach the state behind its face.
#pragma once

#include "engine/player/customplayer.h"
#include "engine/player/playercore.h"

struct TPlayerCoreAccess {
  static TPlayerCore& Of(TCustomPlayer& APlayer) { return *APlayer.FCore; }
};

inline TPlayerCore& PlayerCore(TCustomPlayer& APlayer) {
  return TPlayerCoreAccess::Of(APlayer);
}
