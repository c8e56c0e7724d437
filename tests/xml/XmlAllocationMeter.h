// Counts what the global operator new hands out in the XML test program, so that tests
// bound the work and the memory of an operation by numbers instead of by time: text
// copied over and over shows in the bytes allocated, a costly node in the peak of the
// bytes alive, a quadratic lookup in the number of allocations when each comparison
// copies a name. A cap on the bytes alive makes allocation fail with std::bad_alloc,
// for the tests of running out of memory.
#pragma once

#include <cstdint>

class TAllocationMeter {
public:
  // Starts counting from here; meters do not nest.
  TAllocationMeter();
  ~TAllocationMeter();
  TAllocationMeter(const TAllocationMeter&) = delete;
  TAllocationMeter& operator=(const TAllocationMeter&) = delete;

  // Bytes of every allocation since the start, freed or not.
  int64_t AllocatedBytes() const;
  int64_t Allocations() const;
  // The highest count of bytes alive, less those alive at the start.
  int64_t PeakLiveBytes() const;
  // From now on an allocation fails when it would bring the bytes alive more than
  // `bytes` above those alive at the start; a negative cap lifts it.
  void FailAbove(int64_t bytes);
};
