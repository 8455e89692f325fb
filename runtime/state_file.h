// The state file: the whole state text written so that a crash or a full disk
// never leaves a torn file behind, and read back with the text codec.
#pragma once

#include "runtime/runtime.h"

#include <string>

// The name of the file a plain write to `path` would change: symbolic links
// followed (relative ones from their own folder), so a save that replaces the
// file by renaming over it keeps the link a link.
std::string ResolveLinks(std::string path);

// Writes the UTF-8 text to a temporary file beside the file `path` names
// (through any symbolic links), syncs it and renames it over that file.
// A file with other hard links, or in a folder that takes no new file, is
// written in place instead. Returns 0; -1 when the file may not be written
// or cannot be created (it is then left alone); -2 when the text could not
// be stored whole. Every failure is reported once on standard error.
int WriteStateFile(const char* path, const String& state);

// The decoded text of `path`, or the empty text when it cannot be read.
String ReadStateFile(const char* path);
