// Blocks of memory that start zeroed without being written: large ones are fresh pages from
// the system, so a picture whose data reach only its first pixels costs only the pages they
// touch, however large it says it is, and however often it is read.
#pragma once

#include <cstddef>

// Null when the memory cannot be had. The block is aligned to 64 bytes; free it with
// FreeZeroed.
void* AllocateZeroed(std::size_t bytes);
void FreeZeroed(void* block);
