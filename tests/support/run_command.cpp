#include "support/run_command.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#ifdef _WIN32
#include <windows.h>

#include <random>
#include <vector>

#include "fileio/native_path.h"
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace zmr::test {
namespace {

std::string slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

#ifdef _WIN32

// The words of a POSIX shell command line without expansions: blanks separate
// them, single quotes keep everything, a backslash keeps the next character.
std::vector<std::string> shellWords(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == ' ' || c == '\t') {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else if (c == '\'') {
            const size_t end = line.find('\'', i + 1);
            word += line.substr(i + 1, end - i - 1);
            i = end == std::string::npos ? line.size() : end;
            inWord = true;
        } else if (c == '\\' && i + 1 < line.size()) {
            word += line[++i];
            inWord = true;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(word);
    return words;
}

// One argument as CommandLineToArgvW and the C runtime read it back.
std::wstring windowsQuote(const std::wstring& word) {
    if (!word.empty() && word.find_first_of(L" \t\n\v\"") == std::wstring::npos) return word;
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (const wchar_t c : word) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

HANDLE inheritableFile(const std::filesystem::path& path, DWORD access, DWORD creation) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, creation,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

#endif

}  // namespace

std::string shellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

#ifdef _WIN32

CommandOutput runCommand(const std::string& commandLine) {
    namespace fs = std::filesystem;
    std::vector<std::string> words = shellWords(commandLine);
    DWORD limit = INFINITE;
    if (words.size() > 2 && words[0] == "timeout") {
        limit = static_cast<DWORD>(std::stoul(words[1]) * 1000);
        words.erase(words.begin(), words.begin() + 2);
    }
    std::wstring line;
    for (const std::string& word : words) line += (line.empty() ? L"" : L" ") + windowsQuote(wideFromUtf8(word));

    std::random_device device;
    const fs::path dir = fs::temp_directory_path() / ("zmr-cmd-" + std::to_string(device()));
    fs::create_directories(dir);
    const fs::path out = dir / "out", err = dir / "err";
    CommandOutput result;
    {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = inheritableFile(L"NUL", GENERIC_READ, OPEN_EXISTING);
        startup.hStdOutput = inheritableFile(out, GENERIC_WRITE, CREATE_ALWAYS);
        startup.hStdError = inheritableFile(err, GENERIC_WRITE, CREATE_ALWAYS);
        PROCESS_INFORMATION process{};
        // With no program name given apart, Windows looks for the first word
        // in the test runner's folder first.
        if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
            if (WaitForSingleObject(process.hProcess, limit) == WAIT_OBJECT_0) {
                DWORD code = 0;
                if (GetExitCodeProcess(process.hProcess, &code)) result.status = static_cast<int>(code);
            } else {
                TerminateProcess(process.hProcess, 1);
                WaitForSingleObject(process.hProcess, INFINITE);
            }
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
        for (HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError}) CloseHandle(handle);
    }
    result.out = slurp(out);
    result.err = slurp(err);
    fs::remove_all(dir);
    return result;
}

#else

CommandOutput runCommand(const std::string& commandLine) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("zmr-cmd-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path out = dir / "out", err = dir / "err";
    const std::string full = commandLine + " >" + shellQuote(out.string()) + " 2>" + shellQuote(err.string()) + " </dev/null";
    const int raw = std::system(full.c_str());
    CommandOutput result;
    if (raw != -1 && WIFEXITED(raw)) result.status = WEXITSTATUS(raw);
    result.out = slurp(out);
    result.err = slurp(err);
    fs::remove_all(dir);
    return result;
}

#endif

}  // namespace zmr::test
