// Command ids as the toolkit sees them.
//
// wx takes menu and window ids below 32767, and has its own ids for the standard
// commands (so its document manager handles New, Open, Save, printing and undo). The application's commands (32776 to 32894) are moved down to 10008 to
// 10126; the other framework commands get ids of their own from 11001.
#pragma once
#include <wx/defs.h>

#include "sdi/zorv/core/commands/command_ids.h"

constexpr int ToolkitCommandId(int id) {
  namespace cmd = zorv::cmd;
  switch (id) {
    case cmd::FileNew: return wxID_NEW;
    case cmd::FileOpen: return wxID_OPEN;
    case cmd::FileSave: return wxID_SAVE;
    case cmd::FileSaveAs: return wxID_SAVEAS;
    case cmd::PrintSetup: return wxID_PRINT_SETUP;
    case cmd::Print: return wxID_PRINT;
    case cmd::PrintPreview: return wxID_PREVIEW;
    case cmd::EditCopy: return wxID_COPY;
    case cmd::EditCut: return wxID_CUT;
    case cmd::EditPaste: return wxID_PASTE;
    case cmd::EditSelectAll: return wxID_SELECTALL;
    case cmd::EditUndo: return wxID_UNDO;
    case cmd::EditRedo: return wxID_REDO;
    case cmd::AppAbout: return wxID_ABOUT;
    case cmd::PrintDirect: return 11001;
    case cmd::NextPane: return 11002;
    case cmd::PrevPane: return 11003;
    case cmd::ViewToolbar: return 11004;
    case cmd::ViewStatusBar: return 11005;
    case cmd::RecentFile: return 11006;
    // Not the toolkit's exit id: that one brings a key (Ctrl+Q) the program does not have.
    case cmd::AppExit: return 11007;
    default: return id >= 32768 && id < 33768 ? id - 32768 + 10000 : id;
  }
}

// Shorter to read in event tables.
#define ZORV_ID(name) ToolkitCommandId(zorv::cmd::name)
