// errno in the program's words.
#include "SystemError.h"

#include <cerrno>
#include <system_error>

namespace FileIO {
namespace {

const char* Words(ErrorCode code) {
    switch (static_cast<int>(code)) {
    case ENOENT:
    case ENOTDIR:
        return "the file does not exist";
    case EACCES:
    case EPERM:
        return "access to the file is denied";
    case EISDIR:
        return "it is a folder, not a file";
    case EROFS:
        return "the file lies on a read-only file system";
    case ETXTBSY:
    case EBUSY:
        return "the file is in use";
    case ENOSPC:
        return "no space left on the device";
    case EDQUOT:
        return "the disk quota is used up";
    case EFBIG:
        return "the file size limit set for this program was reached";
    default:
        return nullptr;
    }
}

} // namespace

ErrorCode LastError() {
    return static_cast<ErrorCode>(errno);
}

std::string ErrorText(ErrorCode code, std::string_view otherwise) {
    if (const char* words = Words(code)) {
        return words;
    }
    const std::string text = std::generic_category().message(static_cast<int>(code));
    return otherwise.empty() ? text : std::string(otherwise) + " (" + text + ")";
}

bool Interrupted(ErrorCode code) {
    return code == EINTR;
}

ErrorCode NothingWritten() {
    return EIO;
}

} // namespace FileIO
