// Files read and written whole through Win32 calls: CreateFileW, ReadFile, a new file beside the
// target moved over it with MoveFileExW.
#include "FileIO.h"
#include "SystemError.h"

#include <cstdint>

#include "WindowsApi.h"

namespace FileIO {
namespace {

HANDLE Native(const FileHandle& file) {
    return reinterpret_cast<HANDLE>(file.Get());
}

FileHandle Open(const std::filesystem::path& path, DWORD access, DWORD share, DWORD disposition,
                DWORD flags = FILE_ATTRIBUTE_NORMAL) {
    return FileHandle(reinterpret_cast<FileHandle::Native>(
        CreateFileW(path.c_str(), access, share, nullptr, disposition, flags, nullptr)));
}

// Writes all of `bytes`, flushes them to the disk when `flush`, and closes the file; empty when
// all of it went well.
std::string WriteAndClose(FileHandle& file, std::string_view bytes, bool flush) {
    std::string problem;
    if (const ErrorCode error = WriteAll(file, bytes); error != 0) {
        problem = Failed("it cannot be written", error);
    }
    if (problem.empty() && flush && !FlushFileBuffers(Native(file))) {
        problem = Failed("it cannot be written");
    }
    if (!file.Close() && problem.empty()) {
        problem = Failed("it cannot be written");
    }
    return problem;
}

} // namespace

std::filesystem::path PathOf(const std::string& argument) {
    try {
        return std::filesystem::path(
            std::u8string(reinterpret_cast<const char8_t*>(argument.data()), argument.size()));
    } catch (const std::exception&) {
        return {};
    }
}

std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path) {
    // No access rights: only the file's facts are asked for. FILE_FLAG_BACKUP_SEMANTICS lets a
    // folder open too; links are followed.
    const FileHandle file = Open(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.Valid() || !GetFileInformationByHandle(Native(file), &info)) {
        return std::nullopt;
    }
    return FileIdentity{info.dwVolumeSerialNumber,
                        (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

Input ReadInput(const std::filesystem::path& path, std::size_t limit) {
    Input input;
    const FileHandle file = Open(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    if (!file.Valid()) {
        const ErrorCode error = LastError();
        const DWORD attributes = GetFileAttributesW(path.c_str());
        input.Problem = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)
                            ? "it is a folder, not a file"
                            : ErrorText(error);
        return input;
    }
    const DWORD type = GetFileType(Native(file));
    if (type != FILE_TYPE_DISK && type != FILE_TYPE_PIPE) {
        input.Problem = "it is not a regular file or a pipe";
        return input;
    }
    LARGE_INTEGER size{};
    if (type == FILE_TYPE_DISK && GetFileSizeEx(Native(file), &size) &&
        static_cast<std::uint64_t>(size.QuadPart) > limit) {
        input.Problem = TooLarge(limit);
        return input;
    }
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(Native(file), buffer, sizeof buffer, &got, nullptr)) {
            const ErrorCode error = LastError();
            if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) {
                break;
            }
            input.Problem = Failed("it cannot be read", error);
            input.Bytes.clear();
            return input;
        }
        if (got == 0) {
            break;
        }
        input.Bytes.append(buffer, got);
        if (input.Bytes.size() > limit) {
            input.Bytes.clear();
            input.Problem = TooLarge(limit);
            return input;
        }
    }
    return input;
}

bool IsStandardOutput(const std::filesystem::path& /*path*/) {
    // Windows has no path for the standard output; CON and NUL are devices, written directly.
    return false;
}

std::string WriteOutput(const std::filesystem::path& path, std::string_view bytes) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return "it is a folder, not a file";
    }
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        return "the file is marked read-only; nothing was written";
    }
    {
        // A device or a pipe is written as it is; a disk file is replaced whole below.
        FileHandle existing = Open(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
        if (existing.Valid() && GetFileType(Native(existing)) != FILE_TYPE_DISK) {
            return WriteAndClose(existing, bytes, false);
        }
    }
    // The new file's name is short, so that it fits wherever the target's name does.
    const std::filesystem::path target = std::filesystem::absolute(path);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path temporary =
            target.parent_path() /
            (L".evo-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(attempt));
        // CREATE_NEW: never a file that exists already.
        FileHandle file = Open(temporary, GENERIC_WRITE, 0, CREATE_NEW);
        if (!file.Valid()) {
            const ErrorCode error = LastError();
            if (error == ERROR_FILE_EXISTS) {
                continue;
            }
            return Failed("no new file can be made beside it", error);
        }
        std::string problem = WriteAndClose(file, bytes, true);
        if (problem.empty() && !MoveFileExW(temporary.c_str(), target.c_str(),
                                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            problem = Failed("it cannot be replaced");
        }
        if (!problem.empty()) {
            DeleteFileW(temporary.c_str());
        }
        return problem;
    }
    return "no new file can be made beside it";
}

void FailOversizedWrites() {}

} // namespace FileIO
