#pragma once

namespace veltra::testing {

// Running out of memory on demand, in the test program that links
// failing_allocation.cpp (it replaces operator new): after `count` more
// allocations, the next one throws std::bad_alloc, once.
void failAllocationAfter(long count);

// No allocation fails from here on.
void stopFailingAllocations();

// Whether an allocation failed since the last failAllocationAfter.
bool allocationFailed();

}  // namespace veltra::testing
