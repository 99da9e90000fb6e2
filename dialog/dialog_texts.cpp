#include "dialog/dialog_texts.h"

namespace zmr::dialog {

std::string_view windowTitle(CompileState state) {
    switch (state) {
    case CompileState::Compiling:
        return "ZMR Disc Image Tool - Compiling...";
    case CompileState::Done:
        break;
    }
    return "ZMR Disc Image Tool - Done";
}

}  // namespace zmr::dialog
