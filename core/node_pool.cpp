// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/node_pool.h"

namespace node_pool_detail {
namespace {
// Every chunk starts with a link to the chunk allocated before it; the room
// for the link keeps the blocks after it aligned for any node type.
struct alignas(std::max_align_t) ChunkHeader {
    ChunkHeader* previous;
};

std::mutex chunk_mutex;
ChunkHeader* last_chunk = nullptr;
}  // namespace

void* new_chunk(std::size_t bytes) {
    auto* header = static_cast<ChunkHeader*>(::operator new(sizeof(ChunkHeader) + bytes));
    std::lock_guard<std::mutex> lock(chunk_mutex);
    header->previous = last_chunk;
    last_chunk = header;
    return header + 1;
}
}  // namespace node_pool_detail
