// TObject: the root of every class of the class library and of the system.
#pragma once

#include <functional>

#include "platform/rtl/types.h"

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  // The class's given name ("TbsSkinButton"); classes that are looked up by name override it.
  virtual String ClassName() const { return "TObject"; }
};

using TNotifyEvent = std::function<void(TObject* Sender)>;
