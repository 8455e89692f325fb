// Files replaced whole, so that a crash, a kill or a full disk never leaves a
// torn file behind. The state file and the desktop's settings file are both
// written through here.
#pragma once

#include <string>

// Writes the bytes to `<file>.tmp` beside the file `path` names (through any
// symbolic links; one left by an earlier run is removed first), flushes it and
// renames it over the file, with the old file's mode and owner. A file with
// other hard links, one that is not a regular file, or one in a folder that
// takes no new file is written in place instead. Returns 0; -1 when the file
// may not be written or cannot be created (it is then left alone); -2 when the
// bytes could not be stored whole (a failed replacement leaves the old file
// whole). Every failure is reported in one line on standard error.
int WriteFileAtomically(const char* path, const std::string& bytes);

// Whether writes are flushed to the disk before they count (they are unless
// told otherwise). The fuzz targets save thousands of times a second into a
// memory file system, where flushing proves nothing.
void SetFlushOnWrite(bool flush);
