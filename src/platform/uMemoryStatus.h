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
} // namespace MemoryStatus
