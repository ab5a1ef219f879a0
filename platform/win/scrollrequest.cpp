#include "platform/win/scrollrequest.h"

std::optional<Integer> ScrollRequestPosition(Word Code, Integer Pos, const TScrollSteps& Steps) {
  switch (Code) {
    case SB_LINEUP:
      return Pos - Steps.Line;
    case SB_LINEDOWN:
      return Pos + Steps.Line;
    case SB_PAGEUP:
      return Pos - Steps.Page;
    case SB_PAGEDOWN:
      return Pos + Steps.Page;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
      return Steps.Thumb;
    case SB_TOP:
      return 0;
    case SB_BOTTOM:
      return Steps.End;
    default:
      return std::nullopt;
  }
}
