// The whole-write loop, the same on every platform.
#include "SystemError.h"

namespace FileIO {

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
