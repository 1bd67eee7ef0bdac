#pragma once

#include <QtGlobal>

// Physical memory of the machine, from /proc/meminfo. When the file cannot be read, generous
// defaults are returned so that callers do not start freeing memory for no reason.
namespace MemoryStatus {
qint64 TotalPhysicalMemory();
// Memory that can be handed out without swapping ("MemAvailable").
qint64 AvailablePhysicalMemory();
// Gives memory that the process freed back to the system. Large pictures come from the general
// heap once the allocator has raised its threshold, and freeing them alone does not shrink the
// process; after closing a project with many decoded photos this does.
void ReturnFreedMemory();
// Lets the allocator keep the memory of freed pictures for the next ones instead of handing every
// large block straight back: a fresh block costs a page fault per 4 KiB on first touch, which for a
// decoded photo takes longer than decoding it. At most a few hundred megabytes stay with the process
// until ReturnFreedMemory.
void KeepFreedMemoryForReuse();
// Maps in the pages of a large buffer in one go before a read fills it. Reading into pages that
// were never touched takes a fault per 4 KiB inside the copy, which costs about as much as the copy
// itself. Small buffers, and systems without the facility, are left to fault as usual.
void PrepareForWriting(char* data, qint64 size);
} // namespace MemoryStatus
