// The system's error numbers (errno, GetLastError) in the words the program reports them with,
// and the one loop every whole write goes through.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace FileIO {

// errno on POSIX, GetLastError()'s code on Windows; 0 is no error.
using ErrorCode = std::uint32_t;

// The calling thread's last error.
ErrorCode LastError();

// The error in the program's own words ("the file does not exist", "no space left on the
// device"). One without such words is the system's own text, inside `otherwise` when given:
// ErrorText(EIO, "the file cannot be opened") is "the file cannot be opened (Input/output
// error)", ErrorText(ENOENT, "the file cannot be opened") "the file does not exist".
std::string ErrorText(ErrorCode code, std::string_view otherwise = {});

// "<what> (<the error's words>)": "it cannot be read (the file does not exist)".
std::string Failed(std::string_view what, ErrorCode code = LastError());

// Why an input file was not read: it holds more than `limit` bytes (a whole number of MiB).
std::string TooLarge(std::size_t limit);

// Whether a call failed only because a signal came first and is to be made again (EINTR; never
// on Windows).
bool Interrupted(ErrorCode code);

// What a write that took none of its bytes without an error counts as (EIO, ERROR_WRITE_FAULT):
// retrying it could go on for ever.
ErrorCode NothingWritten();

// One write call's outcome: how many units it took, or its error.
struct WriteStep {
    std::size_t Taken = 0;
    ErrorCode Error = 0;
};

// Writes `total` units by calling `write(done)` for the rest from unit `done` on until all are
// taken: a call the system interrupted is made again, a failed call or one that took nothing ends
// the write. 0 when all were written, else the error.
ErrorCode WriteWhole(std::size_t total, const std::function<WriteStep(std::size_t done)>& write);

} // namespace FileIO
