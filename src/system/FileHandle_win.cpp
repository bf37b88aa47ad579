// A Win32 HANDLE held and written whole.
#include "FileHandle.h"

#include <algorithm>

#include "WindowsApi.h"

namespace FileIO {

bool FileHandle::Close() {
    const Native handle = std::exchange(native_, None);
    return handle == None || CloseHandle(reinterpret_cast<HANDLE>(handle)) != 0;
}

ErrorCode WriteAll(const FileHandle& file, std::string_view bytes) {
    const auto handle = reinterpret_cast<HANDLE>(file.Get());
    return WriteWhole(bytes.size(), [handle, bytes](std::size_t done) {
        // WriteFile takes at most 4 GiB in one call.
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(handle, bytes.data() + done, chunk, &written, nullptr)) {
            return WriteStep{0, LastError()};
        }
        return WriteStep{written, 0};
    });
}

} // namespace FileIO
