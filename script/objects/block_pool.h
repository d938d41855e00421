#pragma once

#include <cstddef>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define SCRIPT_BLOCK_POOL_ENABLED 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SCRIPT_BLOCK_POOL_ENABLED 0
#endif
#endif
#ifndef SCRIPT_BLOCK_POOL_ENABLED
#define SCRIPT_BLOCK_POOL_ENABLED 1
#endif

// Scalar objects are made and dropped for nearly every operand an expression touches, so their
// blocks are kept on a free list instead of going back to the heap each time. The engine runs
// on one thread, and so does this list. Sanitizer builds use the heap directly, so that a use
// after release is still caught.
template <class Owner>
class BlockPool {
public:
    static void* Allocate(std::size_t size)
    {
#if SCRIPT_BLOCK_POOL_ENABLED
        if (size == sizeof(Owner) && s_free) {
            Block* block = s_free;
            s_free = block->next;
            return block;
        }
#endif
        return ::operator new(size);
    }

    static void Free(void* pointer, std::size_t size) noexcept
    {
#if SCRIPT_BLOCK_POOL_ENABLED
        if (size == sizeof(Owner)) {
            auto* block = static_cast<Block*>(pointer);
            block->next = s_free;
            s_free = block;
            return;
        }
#endif
        ::operator delete(pointer);
        (void)size;
    }

private:
    struct Block {
        Block* next;
    };
    static inline Block* s_free = nullptr;
};

// Gives a class its own block pool.
#define SCRIPT_POOLED_ALLOCATION(Class)                                                      \
    static void* operator new(std::size_t size) { return BlockPool<Class>::Allocate(size); } \
    static void operator delete(void* pointer, std::size_t size) noexcept { BlockPool<Class>::Free(pointer, size); }
