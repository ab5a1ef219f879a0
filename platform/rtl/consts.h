// The class library's standard message texts, shared by the runtime units. Texts with
// %-specifiers are Format() patterns.
#pragma once

// Conversions and formatting
inline constexpr const char* SInvalidInteger = "'%s' is not a valid integer value";
inline constexpr const char* SInvalidFloat = "'%s' is not a valid floating point value";
inline constexpr const char* SInvalidBoolean = "'%s' is not a valid boolean value";
inline constexpr const char* SInvalidFormat = "Format '%s' invalid or incompatible with argument";
inline constexpr const char* SArgumentMissing = "No argument for format '%s'";
inline constexpr const char* SInvalidDate = "'%s' is not a valid date";
inline constexpr const char* SInvalidTime = "'%s' is not a valid time";
inline constexpr const char* SInvalidDateTime = "'%s' is not a valid date and time";
inline constexpr const char* SDateEncodeError = "Invalid argument to date encode";
inline constexpr const char* STimeEncodeError = "Invalid argument to time encode";
inline constexpr const char* SInvalidCodePage = "Code page '%s' is not supported";
inline constexpr const char* SArgumentOutOfRange = "Argument out of range";

// Run-time errors
inline constexpr const char* SOutOfMemory = "Out of memory";
inline constexpr const char* SInvalidPointer = "Invalid pointer operation";
inline constexpr const char* SDivByZero = "Division by zero";
inline constexpr const char* SRangeError = "Range check error";
inline constexpr const char* SIntOverflow = "Integer overflow";
inline constexpr const char* SInvalidOp = "Invalid floating point operation";
inline constexpr const char* SInvalidCast = "Invalid class typecast";
inline constexpr const char* SAbstractError = "Abstract Error";
inline constexpr const char* SAssertionFailed = "Assertion failed";
inline constexpr const char* SAssertError = "%s (%s, line %d)";
inline constexpr const char* SOperationAborted = "Operation aborted";
inline constexpr const char* SOSError = "System Error.  Code: %d.\n%s";
inline constexpr const char* SUnkOSError = "A call to an OS function failed";

// Lists and string lists
inline constexpr const char* SListIndexError = "List index out of bounds (%d)";
inline constexpr const char* SListCapacityError = "List capacity out of bounds (%d)";
inline constexpr const char* SListCountError = "List count out of bounds (%d)";
inline constexpr const char* SDuplicateString = "String list does not allow duplicates";
inline constexpr const char* SDuplicateItem = "List does not allow duplicates ($0%x)";
inline constexpr const char* SSortedListError = "Operation not allowed on sorted list";

// Streams and files
inline constexpr const char* SReadError = "Stream read error";
inline constexpr const char* SWriteError = "Stream write error";
inline constexpr const char* SFOpenError = "Cannot open file \"%s\". %s";
inline constexpr const char* SFCreateError = "Cannot create file \"%s\". %s";
inline constexpr const char* SMemoryStreamError = "Out of memory while expanding memory stream";
inline constexpr const char* SInvalidImage = "Invalid stream format";
inline constexpr const char* SCannotCreateDir = "Unable to create directory";
inline constexpr const char* SIniFileWriteError = "Unable to write to %s";

// Components and properties
inline constexpr const char* SDuplicateName = "A component named %s already exists";
inline constexpr const char* SInvalidName = "'%s' is not a valid component name";
inline constexpr const char* SInvalidPropertyValue = "Invalid property value";
inline constexpr const char* SReadOnlyProperty = "Property is read-only";
inline constexpr const char* SUnknownProperty = "Property does not exist";
inline constexpr const char* SClassNotFound = "Class %s not found";

// Threads and libraries
inline constexpr const char* SThreadCreateError = "Thread creation error: %s";
inline constexpr const char* SThreadError = "Thread Error: %s (%d)";
inline constexpr const char* SCheckSynchronizeError =
    "CheckSynchronize called from thread $%x, which is NOT the main thread";
inline constexpr const char* SLoadLibraryError = "Cannot load library \"%s\". %s";

// The edit's own context menu
inline constexpr const char* SEditUndo = "Undo";
inline constexpr const char* SEditCut = "Cut";
inline constexpr const char* SEditCopy = "Copy";
inline constexpr const char* SEditPaste = "Paste";
inline constexpr const char* SEditDelete = "Delete";
inline constexpr const char* SEditSelectAll = "Select All";
