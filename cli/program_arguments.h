#pragma once
// The command line as paths are written inside the program (see
// fileio/native_path.h), and a console that shows that text.

#include <string>
#include <vector>

namespace zmr::cli {

// On Windows the wide command line, converted to UTF-8: argv holds the
// system's code page and loses the letters that it cannot show. Elsewhere
// argv as it is.
std::vector<std::string> programArguments(int argc, char** argv);

// While it lives, a Windows console shows the program's UTF-8 output, and
// stdout and stderr write '\n' as it is, so that output is byte for byte what
// it is on other systems; the console's own code page comes back afterwards.
// Does nothing elsewhere.
class Utf8Console {
public:
    Utf8Console();
    ~Utf8Console();
    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;

private:
    unsigned previousCodePage_ = 0;
};

}  // namespace zmr::cli
