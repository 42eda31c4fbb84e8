#include "services/workbook/MemoryFile.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <sys/types.h>

namespace sedilo::workbook {

namespace {

struct MemoryFile {
    std::string bytes;
    std::size_t at = 0;
};

ssize_t readMemory(void* cookie, char* buffer, std::size_t size)
{
    auto& file = *static_cast<MemoryFile*>(cookie);
    const std::size_t count = file.at < file.bytes.size() ? std::min(size, file.bytes.size() - file.at) : 0;
    std::memcpy(buffer, file.bytes.data() + file.at, count);
    file.at += count;
    return static_cast<ssize_t>(count);
}

ssize_t writeMemory(void* cookie, const char* buffer, std::size_t size)
{
    auto& file = *static_cast<MemoryFile*>(cookie);
    try {
        // Mostly at the end: appended, not zeroed first and then overwritten.
        if (file.at == file.bytes.size()) {
            file.bytes.append(buffer, size);
        } else {
            if (file.bytes.size() < file.at + size)
                file.bytes.resize(file.at + size);
            std::memcpy(file.bytes.data() + file.at, buffer, size);
        }
    } catch (const std::bad_alloc&) {
        return -1; // the stream's error, as a full disk would give
    }
    file.at += size;
    return static_cast<ssize_t>(size);
}

int seekMemory(void* cookie, off64_t* offset, int whence)
{
    auto& file = *static_cast<MemoryFile*>(cookie);
    off64_t from = 0;
    if (whence == SEEK_CUR)
        from = static_cast<off64_t>(file.at);
    else if (whence == SEEK_END)
        from = static_cast<off64_t>(file.bytes.size());
    const off64_t target = from + *offset;
    if (target < 0)
        return -1;
    file.at = static_cast<std::size_t>(target);
    *offset = target;
    return 0;
}

int closeMemory(void* cookie)
{
    delete static_cast<MemoryFile*>(cookie);
    return 0;
}

} // namespace

std::FILE* openMemoryFile()
{
    auto* file = new (std::nothrow) MemoryFile;
    if (!file)
        return nullptr;
    std::FILE* stream = fopencookie(file, "w+", {readMemory, writeMemory, seekMemory, closeMemory});
    if (!stream)
        delete file;
    return stream;
}

} // namespace sedilo::workbook
