// A file descriptor held and written whole.
#include "FileHandle.h"

#include <cerrno>
#include <unistd.h>

namespace FileIO {

bool FileHandle::Close() {
    const Native fd = std::exchange(native_, None);
    // Not retried on EINTR: Linux has closed the descriptor by then, and its number may be reused.
    return fd == None || ::close(static_cast<int>(fd)) == 0;
}

ErrorCode WriteAll(const FileHandle& file, std::string_view bytes) {
    const int fd = static_cast<int>(file.Get());
    return WriteWhole(bytes.size(), [fd, bytes](std::size_t done) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        return put < 0 ? WriteStep{0, LastError()} : WriteStep{static_cast<std::size_t>(put), 0};
    });
}

} // namespace FileIO
