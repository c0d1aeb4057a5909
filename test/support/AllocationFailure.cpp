#include "support/AllocationFailure.h"

#include <cstdlib>
#include <new>

namespace {

std::size_t failingSize = 0;

}  // namespace

void FailAllocationsFrom(std::size_t size)
{
    failingSize = size;
}

void* operator new(std::size_t size)
{
    if (failingSize != 0 && size >= failingSize) {
        throw std::bad_alloc();
    }
    if (void* block = std::malloc(size == 0 ? 1 : size)) {
        return block;
    }
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, std::size_t /*size*/) noexcept
{
    std::free(block);
}
