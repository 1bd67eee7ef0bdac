#include "platform/uMemoryStatus.h"

#include <QByteArray>
#include <QFile>
#include <QList>

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace MemoryStatus {
namespace {

qint64 readMemInfo(const QByteArray& key, qint64 fallback) {
    QFile file(QStringLiteral("/proc/meminfo"));
    if (!file.open(QIODevice::ReadOnly))
        return fallback;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray& line : lines) {
        if (!line.startsWith(key))
            continue;
        bool ok = false;
        const qint64 kib = line.mid(key.size()).simplified().split(' ').value(0).toLongLong(&ok);
        return ok ? kib * 1024 : fallback;
    }
    return fallback;
}

} // namespace

qint64 TotalPhysicalMemory() {
    return readMemInfo(QByteArrayLiteral("MemTotal:"), qint64(1) << 32);
}

qint64 AvailablePhysicalMemory() {
    return readMemInfo(QByteArrayLiteral("MemAvailable:"), qint64(1) << 30);
}

void ReturnFreedMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

void KeepFreedMemoryForReuse() {
#if defined(__GLIBC__)
    // Blocks up to this size come from the heap, where freed ones are reused, not from fresh mappings.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024 * 1024);
    // Free memory at the top of the heap is returned only beyond this much.
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
#endif
}

void PrepareForWriting(char* data, qint64 size) {
#if defined(__linux__)
#ifndef MADV_POPULATE_WRITE
    constexpr int MADV_POPULATE_WRITE = 23; // Linux 5.14; older kernels refuse it, which is harmless
#endif
    constexpr qint64 kWorthIt = 256 * 1024;
    if (!data || size < kWorthIt)
        return;
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    // Only whole pages inside the buffer: the ones at its ends may belong to other blocks.
    const std::uintptr_t begin = (reinterpret_cast<std::uintptr_t>(data) + page - 1) & ~(page - 1);
    const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(data) + std::uintptr_t(size)) & ~(page - 1);
    if (end > begin)
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#else
    Q_UNUSED(data);
    Q_UNUSED(size);
#endif
}

} // namespace MemoryStatus
