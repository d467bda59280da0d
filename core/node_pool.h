// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <mutex>
#include <new>
#include <type_traits>

// The allocator of the engine's map and list nodes (the board's placement,
// move lists, undo records and lines). Making and unmaking a move inserts and
// erases a map node and builds a short list, and every generated move is a
// list node, so these small blocks come and go millions of times a second.
//
// PoolAllocator<T> hands out single objects from a free list of blocks of
// one size per node type. Each thread allocates from and frees to its own
// free list without any lock; only when that list runs dry does the thread
// take the whole shared list (or carve a new chunk) under a lock, and when a
// thread ends, its free list goes back to the shared list. A block may be
// freed on another thread than the one that allocated it (a board copied on
// the command thread is searched on the search thread): it simply joins the
// freeing thread's list. Chunks are never given back; the memory held is the
// most that was ever in use at once, and stays reachable until the process
// ends.
//
// Builds with sanitizers define BRIX_PLAIN_ALLOCATOR, which makes
// PoolAllocator the standard allocator so that every node misuse is seen.

namespace node_pool_detail {

// Allocates one chunk of `bytes` and links it into the list of all chunks,
// which keeps the memory reachable until the process ends.
void* new_chunk(std::size_t bytes);

template <std::size_t Size, std::size_t Align>
class FixedPool {
    struct Block {
        Block* next;
    };

public:
    static constexpr std::size_t block_size = (std::max(Size, sizeof(Block)) + std::max(Align, alignof(Block)) - 1) /
                                              std::max(Align, alignof(Block)) * std::max(Align, alignof(Block));
    static constexpr std::size_t blocks_per_chunk = 16384 / block_size > 0 ? 16384 / block_size : 1;

    static void* allocate() {
        Block* block = cache.head;
        if (block == nullptr) block = refill();
        cache.head = block->next;
        return block;
    }

    static void deallocate(void* pointer) noexcept {
        Block* block = static_cast<Block*>(pointer);
        block->next = cache.head;
        cache.head = block;
    }

private:
    // One thread's free list. Constant-initialised and trivially destructible,
    // so it is usable at any time of the thread's life, also after its exit
    // hook has run (frees by the destructors of global objects at exit).
    struct Cache {
        Block* head = nullptr;
        bool hooked = false;
    };

    // Gives the thread's free list back to the shared list when the thread
    // ends, so that blocks freed on a short-lived search thread are not lost.
    struct ExitHook {
        ~ExitHook() { give_back(); }
    };

    inline static thread_local Cache cache{};
    inline static std::mutex shared_mutex{};
    inline static Block* shared_head = nullptr;

    static Block* refill() {
        if (!cache.hooked) {
            cache.hooked = true;
            static thread_local ExitHook hook;
            (void)hook;
        }
        {
            std::lock_guard<std::mutex> lock(shared_mutex);
            if (shared_head != nullptr) {
                Block* taken = shared_head;
                shared_head = nullptr;
                return taken;
            }
        }
        char* chunk = static_cast<char*>(new_chunk(block_size * blocks_per_chunk));
        Block* head = nullptr;
        for (std::size_t i = blocks_per_chunk; i-- > 0;) {
            Block* block = reinterpret_cast<Block*>(chunk + i * block_size);
            block->next = head;
            head = block;
        }
        return head;
    }

    static void give_back() noexcept {
        Block* head = cache.head;
        if (head == nullptr) return;
        cache.head = nullptr;
        Block* tail = head;
        while (tail->next != nullptr) tail = tail->next;
        std::lock_guard<std::mutex> lock(shared_mutex);
        tail->next = shared_head;
        shared_head = head;
    }
};

}  // namespace node_pool_detail

#ifdef BRIX_PLAIN_ALLOCATOR

template <class T>
using PoolAllocator = std::allocator<T>;

#else

template <class T>
class PoolAllocator {
public:
    using value_type = T;

    PoolAllocator() noexcept = default;
    template <class U>
    PoolAllocator(const PoolAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) {
        if (n == 1) return static_cast<T*>(Pool::allocate());
        return std::allocator<T>().allocate(n);
    }

    void deallocate(T* pointer, std::size_t n) noexcept {
        if (n == 1) {
            Pool::deallocate(pointer);
        } else {
            std::allocator<T>().deallocate(pointer, n);
        }
    }

    template <class U>
    bool operator==(const PoolAllocator<U>&) const noexcept {
        return true;
    }
    template <class U>
    bool operator!=(const PoolAllocator<U>&) const noexcept {
        return false;
    }

private:
    using Pool = node_pool_detail::FixedPool<sizeof(T), alignof(T)>;
};

#endif
