// Process-wide failure handling: the signal handler and the guarded region
// around the program's start-up and loop.
#pragma once

#include <functional>

// Routes invalid memory access, illegal instructions and floating-point errors
// to the runtime-error exit.
void InstallSignalHandlers();

// Runs `body`. Returns 0 when it finishes or throws 8-bit text; -1 after
// reporting an escaped program exception.
int RunGuarded(const std::function<void()>& body);
