// The page's data packages: the preloaded data holds the smallest art level,
// and each larger level comes in a package of its own, fetched the first time
// the game asks for one of its files.
#pragma once

// Reads the manifest of the packages (preloaded beside the data).
void WebPackagesBegin();
// True when the data file (named relative to the data folder) can be read,
// or will never come; otherwise starts fetching its package and says no.
bool WebDataFileReady(const char* name);
