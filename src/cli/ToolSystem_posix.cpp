// The tool's standard streams on POSIX: closed ones reopened on /dev/null, SIGPIPE ignored.
#include "ToolSystem.h"

#include "FileIO.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace ToolSystem {

bool PrepareStandardStreams() {
    std::signal(SIGPIPE, SIG_IGN);
    FileIO::FailOversizedWrites();
    bool outputOpen = true;
    // In order, so that each reopened stream gets its own number back; the descriptor stays open
    // as that stream.
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            int reopened = -1;
            do {
                reopened = ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
            } while (reopened < 0 && errno == EINTR);
            outputOpen = outputOpen && fd != STDOUT_FILENO;
        }
    }
    return outputOpen;
}

} // namespace ToolSystem
