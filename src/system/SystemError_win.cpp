// GetLastError()'s codes in the program's words.
#include "SystemError.h"

#include "WindowsApi.h"

namespace FileIO {
namespace {

const char* Words(ErrorCode code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        return "the file does not exist";
    case ERROR_ACCESS_DENIED:
        return "access to the file is denied";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return "another program holds the file locked";
    case ERROR_WRITE_PROTECT:
        return "the file lies on a write-protected medium";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return "no space left on the device";
    case ERROR_FILE_TOO_LARGE:
        return "the file size limit set for this program was reached";
    default:
        return nullptr;
    }
}

} // namespace

ErrorCode LastError() {
    return static_cast<ErrorCode>(GetLastError());
}

std::string ErrorText(ErrorCode code, std::string_view otherwise) {
    if (const char* words = Words(code)) {
        return words;
    }
    const std::string text = "Windows error " + std::to_string(code);
    return otherwise.empty() ? text : std::string(otherwise) + " (" + text + ")";
}

bool Interrupted(ErrorCode /*code*/) {
    return false;
}

ErrorCode NothingWritten() {
    return ERROR_WRITE_FAULT;
}

} // namespace FileIO
