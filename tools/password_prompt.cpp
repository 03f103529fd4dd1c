#include "password_prompt.h"

#include <cstdio>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <termios.h>
#include <unistd.h>
#endif

namespace vantik {

namespace {

// A pipe or a file: the bytes as they come, a Windows line end taken off too.
std::string plainLine()
{
    std::string line;
    int c;
    while ((c = std::fgetc(stdin)) != EOF && c != '\n')
        line.push_back(static_cast<char>(c));
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

void showPrompt(const char* prompt)
{
    std::fputs(prompt, stderr);
    std::fflush(stderr);
}

} // namespace

#ifdef _WIN32

std::string readHiddenLine(const char* prompt)
{
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    if (input == nullptr || input == INVALID_HANDLE_VALUE || !GetConsoleMode(input, &mode))
        return plainLine();
    showPrompt(prompt);
    SetConsoleMode(input, mode & ~DWORD(ENABLE_ECHO_INPUT));
    // The console's own wide characters: the narrow C library would read them in
    // the console's code page, which mangles a password outside ASCII.
    std::wstring typed;
    wchar_t c = 0;
    DWORD read = 0;
    while (ReadConsoleW(input, &c, 1, &read, nullptr) && read == 1 && c != L'\n') {
        if (c != L'\r')
            typed.push_back(c);
    }
    SetConsoleMode(input, mode);
    std::fputs("\n", stderr);
    if (typed.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, typed.data(), int(typed.size()), nullptr, 0, nullptr, nullptr);
    std::string line(size > 0 ? std::size_t(size) : 0, '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, typed.data(), int(typed.size()), line.data(), size, nullptr, nullptr);
    return line;
}

#else

std::string readHiddenLine(const char* prompt)
{
    termios saved{};
    if (isatty(STDIN_FILENO) != 1 || tcgetattr(STDIN_FILENO, &saved) != 0)
        return plainLine();
    showPrompt(prompt);
    termios quiet = saved;
    quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    std::string line = plainLine();
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    std::fputs("\n", stderr);
    return line;
}

#endif

} // namespace vantik
