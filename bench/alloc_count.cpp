#include "alloc_count.h"

#include <cerrno>
#include <cstddef>

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* block, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* block);
}

// Plain globals: the counter is read only between frames, on the same thread that counts.
static volatile bool counting = false;
static long allocations = 0;
// Initial-exec thread-local storage in the program itself allocates nothing when read.
static thread_local bool countedThread = false;

static inline void note()
{
    if (counting && countedThread)
        ++allocations;
}

void allocCountThisThread()
{
    countedThread = true;
}

void allocCountStart()
{
    allocations = 0;
    counting = true;
}

long allocCountStop()
{
    counting = false;
    return allocations;
}

extern "C" {

void* malloc(size_t size)
{
    note();
    return __libc_malloc(size);
}

void* calloc(size_t count, size_t size)
{
    note();
    return __libc_calloc(count, size);
}

void* realloc(void* block, size_t size)
{
    note();
    return __libc_realloc(block, size);
}

void free(void* block)
{
    __libc_free(block);
}

void* memalign(size_t alignment, size_t size)
{
    note();
    return __libc_memalign(alignment, size);
}

void* aligned_alloc(size_t alignment, size_t size)
{
    note();
    return __libc_memalign(alignment, size);
}

int posix_memalign(void** result, size_t alignment, size_t size)
{
    note();
    if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0)
        return EINVAL;
    void* block = __libc_memalign(alignment, size);
    if (block == nullptr && size != 0)
        return ENOMEM;
    *result = block;
    return 0;
}

}  // extern "C"
