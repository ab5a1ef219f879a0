/* What a frame-hook plug-in sees: the picture record and the three entry points it exports with C
 * linkage. Plain C, so that a plug-in includes this header and nothing of the engine or FFmpeg. */
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The planes of one picture; unused planes are null. A plug-in changes the pixels in place. */
typedef struct TFrameHookPicture {
  uint8_t* data[4];
  int32_t linesize[4];
} TFrameHookPicture;

/* "Configure": stores the plug-in's context in *ctxp; argv[0] is the library name as given, argv
 * ends with a null entry and argv_high is the argument array's highest index. 0 for success. */
typedef int32_t (*TFrameHookConfigureFn)(void** ctxp, int32_t argc, char** argv, int32_t argv_high);
/* "Process": pix_fmt is FFmpeg's pixel format code; pts is in microseconds. */
typedef void (*TFrameHookProcessFn)(void* ctx, TFrameHookPicture* picture, int32_t pix_fmt, int32_t width,
                                    int32_t height, int64_t pts);
/* "Release": frees the context (null when "Configure" was not called). */
typedef void (*TFrameHookReleaseFn)(void* ctx);

#ifdef __cplusplus
}
#endif
