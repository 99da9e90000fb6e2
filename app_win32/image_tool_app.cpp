#include "app_win32/image_tool_app.h"

#include <commctrl.h>
#include <shellapi.h>

#include <CLI/CLI.hpp>

#include <cstdio>
#include <optional>

#include "app_win32/image_tool_dlg.h"
#include "dialog/dialog_texts.h"
#include "dialog/script_steps.h"
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
    const char* caption = error ? dialog::kErrorCaption : dialog::kProgramName;
    MessageBoxW(nullptr, wideFromUtf8(text).c_str(), wideFromUtf8(caption).c_str(), MB_OK);
}

std::optional<dialog::ScriptSteps> readCommandLine(int& exitCode) {
    CLI::App parser(dialog::kHelpDescription, dialog::kProgramName);
    parser.set_version_flag("--version", std::string(dialog::kProgramName) + " " ZMR_VERSION);
    dialog::ScriptSteps steps;
    parser.add_option("--add-folder", steps.addFolders, dialog::kAddFolderHelp)->type_name("FOLDER");
    parser.add_flag("--create-image", steps.createImage, dialog::kCreateImageHelp);

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
    for (std::string& folder : steps.addFolders) folder = dialog::absoluteScriptFolder(folder);
    return steps;
}

}  // namespace

int CImageToolApp::run() {
    int exitCode = 0;
    std::optional<dialog::ScriptSteps> steps = readCommandLine(exitCode);
    if (!steps) return exitCode;

    // The progress bar's window class.
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    CImageToolDlg dialog(instance_);
    dialog.setScriptSteps(std::move(*steps));
    dialog.doModal();  // its result does not matter: every way out ends the program
    return 0;
}

}  // namespace zmr::win32
