// The state file: the whole state text, replaced whole on every save so that
// a crash or a full disk never leaves a torn file, and read back with the
// text codec.
#pragma once

#include "runtime/runtime.h"

// Writes the UTF-8 text through WriteFileAtomically, with its statuses: 0;
// -1 when the file may not be written or cannot be created; -2 when the text
// could not be stored whole.
int WriteStateFile(const char* path, const String& state);

// The decoded text of `path`, or the empty text when it cannot be read.
String ReadStateFile(const char* path);
