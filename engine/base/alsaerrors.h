// alsa-lib reports every failed lookup of a sound card (at each SDL audio start on a machine without
// one) through its error handler, which prints to stderr. The route replaces that handler with one
// that gives each report to the engine logger at llError. libasound is bound at run time when it is
// installed (SDL 1.2 loads it); it is never linked.
#pragma once

// Binds libasound.so.2 and installs the handler once; later calls only say whether it is in place.
// False when the library or its entry is missing (ALSA then has nothing to print either).
bool RouteAlsaErrors();
