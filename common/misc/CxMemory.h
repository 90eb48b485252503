// CxMemory: large blocks of memory that are cheap to fill.
//
// Filling megabytes of fresh memory costs one fault per 4 KB page, which is
// most of the cost of reading a large file into memory. Blocks from here are
// backed by large pages where the system can (Linux's transparent huge
// pages): a few faults per block. Elsewhere they are ordinary blocks.
#ifndef CXMEMORY_H
#define CXMEMORY_H

#include <cstddef>
#include <memory>

namespace CxMemory {

struct Release
{
    void operator()(char* p) const;
};
using Block = std::unique_ptr<char[], Release>;

// n bytes (at least 1), not cleared. Throws std::bad_alloc when there is no room.
Block Allocate(size_t n);

// Readies the untouched block [p, p + n) that is about to be filled: large
// pages where whole ones lie inside it, and its pages mapped in one call
// rather than one fault each. Only a hint: the block stays as usable as
// before on any system.
void PrepareToFill(void* p, size_t n);

} // namespace CxMemory

#endif
