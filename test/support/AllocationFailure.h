#pragma once
// Out of memory on demand: the test program's own operator new fails every allocation of at
// least a given size, so the paths that handle std::bad_alloc can be tested.

#include <cstddef>

// From now on, allocations of size bytes or more throw std::bad_alloc; 0 ends that.
void FailAllocationsFrom(std::size_t size);
