// Heap allocations counted by stand-ins for the C library's allocators (malloc, calloc
// and realloc, which also serve operator new). Include it in one file of one benchmark
// program only: it replaces the allocators of the whole program.
//
//     alloc_count allocs;              // before the measured loop
//     for (auto _ : state) { ... }
//     allocs.report(state);            // counter "allocs": allocations per iteration
//     long k = heap_allocations.load(); // or read the running total directly
#pragma once
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstddef>

extern "C" {
void* __libc_malloc(std::size_t n);
void* __libc_calloc(std::size_t n, std::size_t size);
void* __libc_realloc(void* p, std::size_t n);
}

inline std::atomic<long> heap_allocations{0};

extern "C" void* malloc(std::size_t n) {
  heap_allocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_malloc(n);
}
extern "C" void* calloc(std::size_t n, std::size_t size) {
  heap_allocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_calloc(n, size);
}
extern "C" void* realloc(void* p, std::size_t n) {
  heap_allocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_realloc(p, n);
}

// Allocations per iteration of the loop that follows; report() after the loop.
class alloc_count {
public:
  alloc_count() : start_(heap_allocations.load()) {}
  void report(benchmark::State& state) const {
    state.counters["allocs"] = benchmark::Counter(
        static_cast<double>(heap_allocations.load() - start_), benchmark::Counter::kAvgIterations);
  }

private:
  long start_;
};
