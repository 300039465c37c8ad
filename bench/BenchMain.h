#pragma once

#include <benchmark/benchmark.h>

#include "platform/HeapReserve.h"

/// main() of a benchmark of large lists: the heap is prepared as the program's own main() prepares
/// it, so that the figures are the program's.
#define NOMVARIX_BENCHMARK_MAIN()                                     \
  int main(int argc, char** argv) {                                   \
    nomvarix::ReserveHeapInLargePages();                              \
    benchmark::Initialize(&argc, argv);                               \
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1; \
    benchmark::RunSpecifiedBenchmarks();                              \
    benchmark::Shutdown();                                            \
    return 0;                                                         \
  }
