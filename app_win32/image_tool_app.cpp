#include "app_win32/image_tool_app.h"

#include <commctrl.h>
#include <shellapi.h>

#include <CLI/CLI.hpp>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>

#include "app_win32/image_tool_dlg.h"
#include "fileio/native_path.h"

namespace zmr::win32 {
namespace {

constexpr int kExitUsage = 2;

// A program without a console window of its own prints into the console it
// was started from, if any, and shows a message box otherwise.
void tell(const std::string& text, bool error) {
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        std::FILE* stream = nullptr;
        if (_wfreopen_s(&stream, L"CONOUT$", L"w", error ? stderr : stdout) == 0) {
            std::fputs(text.c_str(), error ? stderr : stdout);
            std::fflush(error ? stderr : stdout);
            return;
        }
    }
    MessageBoxW(nullptr, wideFromUtf8(text).c_str(), error ? kErrorCaption : L"zmrimage-gui", MB_OK);
}

// The full form of a folder named on the command line, taken from where the
// program started: adding a folder moves the current directory.
std::string absolute(const std::string& folder) {
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(nativePath(folder), error);  // GetFullPathNameW
    return error || full.empty() ? folder : pathText(full);
}

std::optional<ScriptSteps> readCommandLine(int& exitCode) {
    CLI::App parser(
        "Gathers karaoke songs (.mid, .kar) into a list and compiles them into DADEDA00.DEZ and\n"
        "SongList.txt in the current directory, which \"Add Files...\" sets to the folder it adds.\n"
        "The options below script the dialog: they run in this order once the window shows,\n"
        "and the window then stays open until it is closed.",
        "zmrimage-gui");
    parser.set_version_flag("--version", "zmrimage-gui " ZMR_VERSION);
    ScriptSteps steps;
    parser.add_option("--add-folder", steps.addFolders,
                      "Add the .mid and .kar files of the folder, as confirming \"Add Files...\" there does; it "
                      "becomes the current directory. May be given more than once.")
        ->type_name("FOLDER");
    parser.add_flag("--create-image", steps.createImage, "Then press \"Create Image\".");

    std::vector<std::string> arguments = utf8CommandLine();
    std::vector<const char*> texts;
    for (const std::string& argument : arguments) texts.push_back(argument.c_str());
    try {
        parser.parse(static_cast<int>(texts.size()), texts.data());
    } catch (const CLI::CallForHelp&) {
        tell(parser.help(), false);
        exitCode = 0;
        return std::nullopt;
    } catch (const CLI::CallForVersion&) {
        tell(parser.version() + "\n", false);
        exitCode = 0;
        return std::nullopt;
    } catch (const CLI::ParseError& e) {
        tell(std::string(e.what()) + "\nRun with --help for more information.\n", true);
        exitCode = kExitUsage;
        return std::nullopt;
    }
    for (std::string& folder : steps.addFolders) folder = absolute(folder);
    return steps;
}

}  // namespace

int CImageToolApp::run() {
    int exitCode = 0;
    const std::optional<ScriptSteps> steps = readCommandLine(exitCode);
    if (!steps) return exitCode;

    // The progress bar's window class.
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    CImageToolDlg dialog(instance_);
    dialog.setOnShown([&steps](CImageToolDlg& shown) {
        for (const std::string& folder : steps->addFolders) shown.addSongFolder(folder);
        if (steps->createImage) shown.createImage();
    });
    dialog.doModal();  // its result does not matter: every way out ends the program
    return 0;
}

}  // namespace zmr::win32
