// The process's heap settings: the program and the benchmarks both call
// ConfigureAllocator first, so what is measured is what the program runs.
#pragma once

// Sets glibc's trim and mmap thresholds; does nothing under other allocators.
void ConfigureAllocator();
