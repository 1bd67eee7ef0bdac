#include "platform/uMemoryStatus.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

TEST(MemoryStatus, PhysicalMemoryIsReadInBytes) {
    // The kernel's page count is an independent source; a container may only show less.
    const qint64 physical = qint64(sysconf(_SC_PHYS_PAGES)) * sysconf(_SC_PAGESIZE);
    const qint64 total = MemoryStatus::TotalPhysicalMemory();
    EXPECT_LE(total, physical);
    EXPECT_GT(total, physical / 1024); // not kibibytes taken for bytes
    const qint64 available = MemoryStatus::AvailablePhysicalMemory();
    EXPECT_GT(available, 0);
    EXPECT_LE(available, total);
}

// Preparing a buffer for a read must never change what it already holds: a read may fill only part
// of it, and the bytes around an unaligned buffer belong to other blocks.
TEST(MemoryStatus, PreparingABufferKeepsItsBytes) {
    for (const qint64 size : {qint64(0), qint64(100), qint64(256 * 1024), qint64(3 * 1024 * 1024 + 123)}) {
        QByteArray block(qsizetype(size + 64), '\0');
        for (qsizetype i = 0; i < block.size(); ++i)
            block[i] = char(i * 131 + 7);
        const QByteArray before = block;
        MemoryStatus::PrepareForWriting(block.data() + 13, size); // deliberately not page aligned
        EXPECT_EQ(block, before) << "size " << size;
    }
    MemoryStatus::PrepareForWriting(nullptr, 1 << 20);
}

} // namespace
