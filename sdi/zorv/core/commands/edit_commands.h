// The Edit menu without the toolkit: one-level Undo and Redo through the undo
// files, Copy, Cut and Paste through "copyele.dat", and Select All; and placing a
// subcircuit chosen from the Library menu.
//
// The clipboard file lies in the undo files' folder, which is this process's own:
// Paste reads what this program's Copy wrote, never another instance's.
//     EditCommands edit(view, ModelCircuitFiles());
//     edit.OnEditCopy();                 // the selection to "copyele.dat"
//     edit.OnEditPaste();                // new names and ids, floating with the cursor
//     edit.OnEditUndo(); edit.OnEditUndo();  // back where it was: Undo swaps
#pragma once
#include <filesystem>
#include <string>

#include "sdi/zorv/core/document/circuit_files.h"

namespace zorv {

class ViewCore;

class EditCommands {
public:
  EditCommands(ViewCore& view, CircuitFiles files);

  void OnEditUndo();
  void OnEditRedo();
  // False when nothing could be written ("File copyele.dat couldn't be opened").
  bool OnEditCopy();
  void OnEditCut();
  // False when the clipboard file could not be read: nothing floats then.
  bool OnEditPaste();
  void OnEditSelectAll();

  // Whether each command is enabled.
  bool CanUndo() const;
  bool CanRedo() const;
  bool CanCopy() const;
  bool CanPaste() const { return m_canPaste != 0; }
  bool CanSelectAll() const;

  std::filesystem::path ClipboardFile() const;

private:
  struct Swap {
    bool saved = false;  // the circuit shown was written to `save`
    bool read = false;   // `read` replaced it
  };
  // Writes the circuit to `save`, then reads `read` in its place.
  Swap SwapThrough(const std::filesystem::path& save, const std::filesystem::path& read);

  ViewCore& m_view;
  CircuitFiles m_files;
  int m_canPaste = 0;
};

// Arms a subcircuit element of the symbol file "<fileName>.sym" (in the circuit's
// folder) for placing. False when the symbol cannot be read: the model's message
// has been shown and nothing is left pending.
bool PlaceSubcircuit(ViewCore& view, const std::string& fileName);

}  // namespace zorv
