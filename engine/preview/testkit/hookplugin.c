/* A frame-hook plug-in for the tests. Arguments: "tag=NAME" names the context in the journal,
 * "invert" inverts plane 0, "set=N" then writes N into its first byte, "fail" fails Configure.
 * Every call is noted in hook_journal, which the tests read through the library handle.
 * HOOK_WITHOUT_CONFIGURE and HOOK_WITHOUT_PROCESS leave those entry points out. */
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "engine/preview/framehookabi.h"

char hook_journal[8192];

void hook_journal_reset(void) {
  hook_journal[0] = '\0';
}

static void note(const char* format, ...) {
  size_t used = strlen(hook_journal);
  va_list args;
  va_start(args, format);
  vsnprintf(hook_journal + used, sizeof hook_journal - used, format, args);
  va_end(args);
}

typedef struct HookContext {
  char tag[32];
  int invert;
  int set;
  int value;
} HookContext;

#ifndef HOOK_WITHOUT_CONFIGURE
int32_t Configure(void** ctxp, int32_t argc, char** argv, int32_t argv_high) {
  note("configure argc=%d high=%d end=%s args=", argc, argv_high, argv[argc] ? "text" : "null");
  for (int32_t i = 0; i < argc; ++i) note("%s%s", i ? "|" : "", argv[i]);
  note("\n");
  HookContext* context = calloc(1, sizeof *context);
  if (!context) return 1;
  strcpy(context->tag, "?");
  for (int32_t i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "fail") == 0) {
      free(context);
      return 1;
    }
    if (strncmp(argv[i], "tag=", 4) == 0) snprintf(context->tag, sizeof context->tag, "%s", argv[i] + 4);
    if (strcmp(argv[i], "invert") == 0) context->invert = 1;
    if (strncmp(argv[i], "set=", 4) == 0) {
      context->set = 1;
      context->value = atoi(argv[i] + 4);
    }
  }
  *ctxp = context;
  return 0;
}
#endif

#ifndef HOOK_WITHOUT_PROCESS
void Process(void* ctx, TFrameHookPicture* picture, int32_t pix_fmt, int32_t width, int32_t height,
             int64_t pts) {
  const HookContext* context = ctx;
  note("process %s fmt=%d %dx%d pts=%lld\n", context ? context->tag : "(none)", pix_fmt, width, height,
       (long long)pts);
  if (!context) return;
  if (context->invert)
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x) {
        uint8_t* pixel = picture->data[0] + y * picture->linesize[0] + x;
        *pixel = (uint8_t)(255 - *pixel);
      }
  if (context->set) picture->data[0][0] = (uint8_t)context->value;
}
#endif

void Release(void* ctx) {
  HookContext* context = ctx;
  note("release %s\n", context ? context->tag : "(none)");
  free(context);
}
