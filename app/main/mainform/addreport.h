// What became of the files an add did not take: each with its cause, said to the person in one box
// at the end of the add, a long list summarised by cause.
#pragma once

#include <vector>

#include "platform/rtl/types.h"

enum TAddRefusal {
  arGone,           // listed, then gone before its turn
  arUnreadable,     // cannot be opened for reading (or is no plain file)
  arNotMedia,       // read, but holds nothing to convert
  arNoStream,       // no stream the chosen format needs (an audio format for a file without sound)
  arCannotOpen,     // the engine could not open it as an input
  arOutputRefused,  // the output name or options were refused
  arJobLimit,       // the list holds all the jobs it can
};

class TAddReport {
 public:
  void Refuse(TAddRefusal Cause, const String& Path, const String& Detail = String());
  bool Empty() const { return FEntries.empty(); }
  bool Has(TAddRefusal Cause) const;
  Integer Count() const { return Integer(FEntries.size()); }
  void Clear() { FEntries.clear(); }
  // The box's text: Heading (when given), then every file with its cause; past a dozen files, per
  // cause the count and the first names.
  String Text(const String& Heading = String()) const;
  // The cause in words, as the box says it.
  static String CauseText(TAddRefusal Cause);

 private:
  struct TEntry {
    TAddRefusal Cause;
    String Name;  // the file's name as it is
    String Detail;
  };
  std::vector<TEntry> FEntries;
};
