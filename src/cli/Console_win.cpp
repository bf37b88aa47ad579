// UTF-8 text onto a Windows console as UTF-16, and the wide command line as UTF-8.
#include "Console.h"

#include "SystemError.h"

#include <algorithm>
#include <streambuf>

#include "WindowsApi.h"

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

namespace Console {
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
            if (c == '\n' && !Flush()) {
                return traits_type::eof();
            }
        }
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        pending.append(text, static_cast<std::size_t>(count));
        return Flush() ? count : 0;
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
    // Writes the whole characters pending; false when the console took them not all.
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
        const HANDLE out = console;
        return FileIO::WriteWhole(text.size(), [out, &text](std::size_t done) {
                   // A few thousand units a call: older consoles refuse very long writes. A
                   // surrogate pair is never split between two calls.
                   std::size_t chunk = std::min<std::size_t>(text.size() - done, 8192);
                   if (chunk > 1 && done + chunk < text.size() && IS_HIGH_SURROGATE(text[done + chunk - 1])) {
                       --chunk;
                   }
                   DWORD written = 0;
                   if (!WriteConsoleW(out, text.data() + done, static_cast<DWORD>(chunk), &written,
                                      nullptr)) {
                       return FileIO::WriteStep{0, FileIO::LastError()};
                   }
                   return FileIO::WriteStep{written, 0};
               }) == 0;
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
    // Never destroyed: std::cout and std::cerr are flushed once more after every static object of
    // the program has gone, and that last flush still writes through the buffer.
    static WideConsoleBuffer* buffers[2] = {};
    WideConsoleBuffer*& buffer = buffers[handle == 2 ? 1 : 0];
    if (!buffer) {
        stream.flush();
        buffer = new WideConsoleBuffer(console);
        stream.rdbuf(buffer);
    }
}

} // namespace Console
