#include "tests/hardening/failing_allocation.h"

#include <cstdlib>
#include <new>

namespace {

long allocationsBeforeFailure = -1;
bool failed = false;

}  // namespace

namespace veltra::testing {

void failAllocationAfter(long count)
{
    allocationsBeforeFailure = count;
    failed = false;
}

void stopFailingAllocations()
{
    allocationsBeforeFailure = -1;
}

bool allocationFailed()
{
    return failed;
}

}  // namespace veltra::testing

void* operator new(std::size_t size)
{
    if (allocationsBeforeFailure >= 0 && allocationsBeforeFailure-- == 0) {
        failed = true;
        throw std::bad_alloc();
    }
    if (void* memory = std::malloc(size ? size : 1))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}
