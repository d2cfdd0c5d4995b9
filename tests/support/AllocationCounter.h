#pragma once
// Counts heap allocations made on the calling thread, so that a test can assert that a call does
// not allocate. The test executable replaces the global operator new and delete (every form:
// single and array, nothrow, aligned) with counting versions; the counts are per thread, so other
// threads cannot disturb a test.
//
//   AllocationCounter counter;
//   sampler.TakeLoadSample();
//   EXPECT_EQ(counter.Allocations(), 0u);

#include <cstdint>

class AllocationCounter {
 public:
  AllocationCounter();

  // Allocations and deallocations on this thread since the counter was made.
  std::uint64_t Allocations() const;
  std::uint64_t Deallocations() const;

  // Totals on this thread since it started.
  static std::uint64_t TotalAllocations();
  static std::uint64_t TotalDeallocations();

 private:
  std::uint64_t allocationsAtStart_;
  std::uint64_t deallocationsAtStart_;
};
