// The state file: the whole state text written so that a crash or a full disk
// never leaves a torn file behind, and read back with the text codec.
#pragma once

#include "host/runtime.h"

// Writes the UTF-8 text to a temporary file beside `path`, syncs it and
// renames it over `path`. Returns 0, -1 when the file cannot be created, or
// -2 when it could not be written whole; on failure `path` is left untouched.
int WriteStateFile(const char* path, const String& state);

// The decoded text of `path`, or the empty text when it cannot be read.
String ReadStateFile(const char* path);
