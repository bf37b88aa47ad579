// UTF-8 text onto a Windows console as UTF-16, and the wide command line as UTF-8.
#include "Console.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <memory>
#include <streambuf>
#endif

namespace Console {

#ifdef _WIN32
namespace {

std::string Utf8(const wchar_t* text) {
    const int wide = static_cast<int>(wcslen(text));
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, wide, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, wide, out.data(), size, nullptr, nullptr);
    return out;
}

// Collects UTF-8 bytes and hands whole characters to the console as UTF-16; a character split
// between two writes waits for its last byte.
class WideConsoleBuffer final : public std::streambuf {
public:
    explicit WideConsoleBuffer(HANDLE console) : console(console) {}

protected:
    int_type overflow(int_type c) override {
        if (c != traits_type::eof()) {
            pending.push_back(static_cast<char>(c));
            if (c == '\n') {
                Flush();
            }
        }
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        pending.append(text, static_cast<std::size_t>(count));
        Flush();
        return count;
    }
    int sync() override { return Flush() ? 0 : -1; }

private:
    // The length of `pending` that ends on a whole character.
    std::size_t WholeCharacters() const {
        std::size_t end = pending.size();
        std::size_t back = 0;
        while (back < 3 && back < end &&
               (static_cast<unsigned char>(pending[end - 1 - back]) & 0xC0) == 0x80) {
            ++back;
        }
        if (back < end) {
            const auto lead = static_cast<unsigned char>(pending[end - 1 - back]);
            const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
            if (length > back + 1) {
                return end - 1 - back; // the last character is not complete yet
            }
        }
        return end;
    }
    bool Flush() {
        const std::size_t whole = WholeCharacters();
        if (whole == 0) {
            return true;
        }
        const int size = static_cast<int>(whole);
        const int wide = MultiByteToWideChar(CP_UTF8, 0, pending.data(), size, nullptr, 0);
        std::wstring text(static_cast<std::size_t>(wide), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, pending.data(), size, text.data(), wide);
        pending.erase(0, whole);
        DWORD written = 0;
        return WriteConsoleW(console, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != 0;
    }

    HANDLE console;
    std::string pending;
};

} // namespace

std::vector<std::string> Arguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) {
        return std::vector<std::string>(argv + 1, argv + argc);
    }
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i) {
        args.push_back(Utf8(wide[i]));
    }
    LocalFree(wide);
    return args;
}

void UseWideConsole(std::ostream& stream, int handle) {
    const int fd = handle == 2 ? _fileno(stderr) : _fileno(stdout);
    // The export writes its own CRLF line ends; in text mode each would become CR CR LF.
    _setmode(fd, _O_BINARY);
    HANDLE console = GetStdHandle(handle == 2 ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (console == INVALID_HANDLE_VALUE || !GetConsoleMode(console, &mode)) {
        return; // a file or a pipe: UTF-8 bytes as written
    }
    static std::unique_ptr<WideConsoleBuffer> buffers[2];
    auto& buffer = buffers[handle == 2 ? 1 : 0];
    stream.flush();
    buffer = std::make_unique<WideConsoleBuffer>(console);
    stream.rdbuf(buffer.get());
}

#else

std::vector<std::string> Arguments(int argc, char** argv) {
    // The bytes stay as given, so that a file name that is not valid UTF-8 still names its file.
    return std::vector<std::string>(argv + 1, argv + argc);
}

void UseWideConsole(std::ostream&, int) {}

#endif

} // namespace Console
