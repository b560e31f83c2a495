#pragma once

#include <QtGlobal>

#include <array>
#include <vector>

/// The memory of one table's row blocks. Blocks are carved from large slabs that the arena
/// maps itself, in size classes with a free list each, so storing and replacing rows costs no
/// call into the heap, and the rows a reader stores lie one after the other. Releasing every
/// block at once (a new file, Clear) keeps the slabs, so the next rows take memory that is
/// already there instead of the process handing it back to the system and faulting it in again
/// page by page; slabs a table no longer needs wait in a reserve of the process for the next
/// table. Blocks beyond the largest class come from the heap.
class RowArena final {
public:
    /// Sizes are rounded up to this; it is also the alignment of every block.
    static constexpr qsizetype Granule = 8;
    /// The largest block carved from a slab.
    static constexpr qsizetype MaxSlabBlock = 4096;
    /// The size of a slab, which is also its alignment: one huge page where the system gives
    /// them to large mappings.
    static constexpr qsizetype SlabBytes = qsizetype(2) << 20;

    RowArena() = default;
    ~RowArena();
    Q_DISABLE_COPY_MOVE(RowArena)

    /// Memory for a block of `bytes` (at least 1); throws std::bad_alloc when there is none.
    [[nodiscard]] void* allocate(qsizetype bytes);
    /// Gives back a block; `bytes` as it was allocated.
    void release(void* block, qsizetype bytes) noexcept;
    /// Every block given out so far is gone. The slabs this round of blocks reached are kept for
    /// the next; slabs beyond them, which the table has not needed since the previous such
    /// release, are given back to the system.
    void releaseAll() noexcept;

    /// Moves every block of `other` here, with the slabs they lie in, so they are given back
    /// with this arena's; `other` is left empty. The rest of the slab `other` was carving
    /// stays unused until releaseAll, like the rest of a slab of this arena.
    void adopt(RowArena& other);
    /// Hands the slabs kept for reuse beyond the first `keep` of them to `other`, which has
    /// given out nothing yet, so that rows it packs on another thread reuse this table's
    /// memory rather than new memory; adopt brings them back.
    void lend(RowArena& other, qsizetype keep);

    /// The slabs mapped, in use or kept.
    [[nodiscard]] qsizetype slabCount() const { return qsizetype(m_slabs.size()); }
    /// Blocks too large for a slab that are currently allocated.
    [[nodiscard]] qsizetype heapBlockCount() const { return m_heapBlocks; }

private:
    struct FreeBlock {
        FreeBlock* next;
    };
    // In front of every heap block, so releaseAll can find them all.
    struct alignas(16) HeapLink {
        HeapLink* previous;
        HeapLink* next;
    };
    static constexpr qsizetype classOf(qsizetype bytes) { return (bytes + Granule - 1) / Granule; }
    // How far ahead of the next carved block its memory is asked for.
    static constexpr qsizetype PrefetchAhead = 1024;

    void* carve(qsizetype bytes);
    void* allocateOnHeap(qsizetype bytes);
    void releaseOnHeap(void* block) noexcept;
    void releaseHeapBlocks() noexcept;
    static char* newSlab();
    static void giveUpSlab(char* slab) noexcept;

    std::array<FreeBlock*, MaxSlabBlock / Granule + 1> m_free{};
    std::vector<char*> m_slabs;
    // The slab being carved, by index into m_slabs (m_slabs.size() before the first), and the
    // part of it not yet given out.
    size_t m_slab = 0;
    char* m_next = nullptr;
    char* m_end = nullptr;
    HeapLink m_heap{&m_heap, &m_heap};
    qsizetype m_heapBlocks = 0;
};
