// File names that FFmpeg cannot take in the system code page reach it as "unicode:utf8:<name>"
// URLs, which the engine's own file I/O opens: a custom I/O context for the main input or output,
// and the format context's io_open/io_close2 callbacks for the files a (de)muxer opens itself.
//
// Use:  url = FileNameToURL(name);
//       input:  UnicodeOpenInput(&ic, url.c_str(), fmt, &opts) … UnicodeCloseInput(&ic)
//       output: avformat_alloc_output_context2(&oc, …, url.c_str());
//               UnicodeOpenOutput(oc, url.c_str(), &opts) … UnicodeCloseOutput(oc)
#pragma once

#include "engine/base/avheaders.h"
#include "platform/rtl/types.h"

inline constexpr const char* UnicodeProtocolList = ":unicode:stream:gopher:http:pipe:rtp:tcp:udp:";
inline constexpr const char* UnicodeURLPrefix = "unicode:utf8:";

// True for a name that must go through the protocol: not a URL of a listed protocol, and its bytes
// in the system code page are not its UTF-8 bytes (the file system holds UTF-8 names), which
// includes every name with a character the code page cannot represent.
bool NeedsUnicodeProtocol(const String& AFileName);
// The text to hand to FFmpeg for a file name: the prefixed URL, or the name in the system code page.
String FileNameToURL(const String& AFileName);
// The display name of a URL FFmpeg holds (a context's url).
String URLToFileName(const char* AURL);
bool IsUnicodeURL(const char* AURL);
String MakeUnicodeURL(const String& AFileName);
// The name behind the prefix (everything after the second colon).
String DecodeUnicodeURL(const char* AURL);

// The I/O context of one unicode URL: AVIO_FLAG_READ opens an existing file; WRITE, alone or with
// READ, creates or truncates it. 0, or AVERROR(ENOENT) for any failure.
int UnicodeOpen(AVIOContext** APB, const char* AURL, int AFlags);
// Frees an I/O context made by UnicodeOpen and closes its file; 0 or a negative error.
int UnicodeClose(AVIOContext** APB);
// True for an I/O context made by UnicodeOpen.
bool IsUnicodeIOContext(const AVIOContext* APB);
// The file operations behind it; the file descriptor travels in the opaque pointer.
int UnicodeRead(void* AOpaque, uint8_t* ABuffer, int ASize);
int UnicodeWrite(void* AOpaque, uint8_t* ABuffer, int ASize);
int64_t UnicodeSeek(void* AOpaque, int64_t APosition, int AWhence);

// Routes the files a format context opens by itself (nested demuxers and muxers) through the
// protocol; other names keep FFmpeg's own I/O.
void InstallUnicodeIO(AVFormatContext* AContext);

// avformat_open_input for any name FileNameToURL gives; on failure *APS is freed and null.
int UnicodeOpenInput(AVFormatContext** APS, const char* AURL, const AVInputFormat* AFormat,
                     AVDictionary** AOptions);
// avformat_close_input, also closing a protocol file.
void UnicodeCloseInput(AVFormatContext** APS);
// Opens AContext->pb for writing (for formats that need a file).
int UnicodeOpenOutput(AVFormatContext* AContext, const char* AURL, AVDictionary** AOptions);
// Opens AContext->pb on a new partial file of the local file AFileName (platform/rtl/partialfile.h),
// through the protocol's own I/O context, and makes the partial file's URL the context's url, so
// that a muxer that opens its output again finds what it wrote. 0 with APartName, or a negative
// error (nothing made).
int UnicodeOpenPartialOutput(AVFormatContext* AContext, const String& AFileName, String& APartName);
// Closes AContext->pb however it was opened; 0 or a negative error.
int UnicodeCloseOutput(AVFormatContext* AContext);
