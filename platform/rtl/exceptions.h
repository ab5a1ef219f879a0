// Exception and the class library's family of exception classes.
#pragma once

#include <exception>

#include "platform/rtl/types.h"

class Exception : public std::exception {
 public:
  Exception() = default;
  explicit Exception(String message) : FMessage(std::move(message)) {}
  ~Exception() override = default;

  const String& Message() const noexcept { return FMessage; }
  void SetMessage(const String& value) { FMessage = value; }
  const char* what() const noexcept override { return FMessage.c_str(); }

 private:
  String FMessage;
};

#define NERIVO_EXCEPTION_CLASS(Name, Base) \
  class Name : public Base {               \
   public:                                 \
    using Base::Base;                      \
  }

NERIVO_EXCEPTION_CLASS(EAbort, Exception);
NERIVO_EXCEPTION_CLASS(EConvertError, Exception);
NERIVO_EXCEPTION_CLASS(EListError, Exception);
NERIVO_EXCEPTION_CLASS(EStringListError, Exception);
NERIVO_EXCEPTION_CLASS(EStreamError, Exception);
NERIVO_EXCEPTION_CLASS(EReadError, EStreamError);
NERIVO_EXCEPTION_CLASS(EWriteError, EStreamError);
NERIVO_EXCEPTION_CLASS(EFileStreamError, EStreamError);
NERIVO_EXCEPTION_CLASS(EFOpenError, EFileStreamError);
NERIVO_EXCEPTION_CLASS(EFCreateError, EFileStreamError);
NERIVO_EXCEPTION_CLASS(EInvalidOperation, Exception);
NERIVO_EXCEPTION_CLASS(EInvalidCast, Exception);
NERIVO_EXCEPTION_CLASS(EAssertionFailed, Exception);
NERIVO_EXCEPTION_CLASS(EOutOfMemory, Exception);
NERIVO_EXCEPTION_CLASS(EOSError, Exception);
NERIVO_EXCEPTION_CLASS(EThread, Exception);
NERIVO_EXCEPTION_CLASS(EComponentError, Exception);
NERIVO_EXCEPTION_CLASS(EInvalidPointer, Exception);
NERIVO_EXCEPTION_CLASS(EIniFileException, Exception);
NERIVO_EXCEPTION_CLASS(EInvalidArgument, Exception);
NERIVO_EXCEPTION_CLASS(EOutOfResources, Exception);
NERIVO_EXCEPTION_CLASS(EMathError, Exception);
NERIVO_EXCEPTION_CLASS(EInvalidOp, EMathError);
