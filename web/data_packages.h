// The page's data packages after the first: the effects and play art, and the
// sharper art levels, each fetched the first time the game asks for one of
// its files.
#pragma once

// Reads the manifest of the packages (the program's first script holds it).
void WebPackagesBegin();
// True when the data file (named relative to the data folder) can be read,
// or will never come; otherwise queues its package's fetch and says no.
bool WebDataFileReady(const char* name);
// Packages that have arrived or been given up so far.
unsigned WebDataArrivals();
