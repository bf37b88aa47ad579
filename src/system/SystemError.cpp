// The whole-write loop and the failure texts, the same on every platform.
#include "SystemError.h"

namespace FileIO {

std::string Failed(std::string_view what, ErrorCode code) {
    return std::string(what) + " (" + ErrorText(code) + ")";
}

std::string TooLarge(std::size_t limit) {
    return "it is larger than " + std::to_string(limit / (std::size_t{1024} * 1024)) +
           " MiB, the limit for a table file";
}

ErrorCode WriteWhole(std::size_t total, const std::function<WriteStep(std::size_t done)>& write) {
    std::size_t done = 0;
    while (done < total) {
        const WriteStep step = write(done);
        if (step.Error != 0 && Interrupted(step.Error)) {
            continue;
        }
        if (step.Error != 0) {
            return step.Error;
        }
        if (step.Taken == 0) {
            return NothingWritten();
        }
        done += step.Taken;
    }
    return 0;
}

} // namespace FileIO
