#include "sdi/zorv/core/commands/edit_commands.h"

#include <climits>
#include <set>
#include <utility>

#include "sdi/edit/edit_delete.h"
#include "sdi/elements/element.h"
#include "sdi/elements/elist.h"
#include "sdi/elements/factories.h"
#include "sdi/elements/naming.h"
#include "sdi/elements/placement.h"
#include "sdi/netlist/prepare_circuit.h"
#include "sdi/files/circuit_file.h"
#include "sdi/files/record_stream.h"
#include "sdi/edit/select_ops.h"
#include "sdi/elements/sub_element.h"
#include "sdi/zorv/core/base/messages.h"
#include "sdi/zorv/core/view/model_link.h"
#include "sdi/zorv/core/view/view_core.h"
#include "sdi/zorv/core/view/view_render.h"
#include "sdi/zorv/core/view/wire_merge.h"
#include "simu/base/regular_file.h"

namespace zorv {

namespace {

bool CircuitHolds(int kind) {
  for (sdi::enode* n = sdi::circuit.head; n; n = static_cast<sdi::enode*>(n->next))
    if (n->value && n->value->kind == kind) return true;
  return false;
}

// The id offset that moves every pasted id above `top` (the circuit's largest):
// `top` itself while the ids stay within int, else the one that puts the smallest
// pasted id just above `top`. False when even that overflows.
bool PasteOffset(long long top, long long smallest, long long largest, int& offset) {
  long long off = top;
  if (largest + off > INT_MAX) off = top - smallest + 1;
  if (largest + off > INT_MAX) return false;
  offset = static_cast<int>(off);
  return true;
}

}  // namespace

EditCommands::EditCommands(ViewCore& view, CircuitFiles files) : m_view(view), m_files(std::move(files)) {}

std::filesystem::path EditCommands::ClipboardFile() const { return m_view.Undo().Clipboard(); }

bool EditCommands::CanUndo() const { return m_view.UndoValid() && m_view.Host().IsDocumentModified(); }

bool EditCommands::CanRedo() const { return m_view.CanRedo() && !m_view.Edit().Placing(); }

bool EditCommands::CanCopy() const { return m_view.Edit().SelectionActive(); }

bool EditCommands::CanSelectAll() const { return !CircuitIsEmpty(); }

EditCommands::Swap EditCommands::SwapThrough(const std::filesystem::path& save, const std::filesystem::path& read) {
  m_view.EndPlacing();
  m_view.Undo().RemoveStrangers();
  Swap swap;
  swap.saved = m_view.StoreUndo(save);
  // The reader's own "Couldn't Open File!" would not say which file is missing.
  const bool present = UndoFiles::IsPlainFile(read);
  const OpenResult result = present && m_files.restore ? m_files.restore(read.string()) : OpenResult::CannotOpen;
  if (result == OpenResult::CannotOpen) ShowMessage("Unable to read backup file");
  if (result != OpenResult::Read) return swap;
  swap.read = true;
  m_view.Edit().Reset();
  m_view.Junctions().Forget();
  m_view.Host().Invalidate();
  m_view.Host().SetDocumentModified();
  return swap;
}

void EditCommands::OnEditUndo() {
  // Greyed with nothing to undo (a document just made or opened): the command
  // reaches here by its key too, and then neither writes nor reads a snapshot.
  if (!m_view.UndoValid()) return;
  const UndoFiles& undo = m_view.Undo();
  const Swap swap = SwapThrough(undo.Backup2(), undo.Backup());
  if (!swap.saved || !swap.read) return;
  m_view.SetCanRedo(true);
  // The state just left becomes the undo point too, so a second Undo comes back.
  // Read as the circuit reader would take it: a file it refuses is not copied.
  std::string bytes;
  const file_check read = read_regular_file(undo.Backup2().c_str(), sdi::max_circuit_file_bytes, bytes);
  if (read != file_check::ok) {
    const std::string refused = refusal_text(read, undo.Backup2().string(), sdi::max_circuit_file_bytes);
    ShowMessage(refused.empty() ? "File " + undo.Backup2().string() + " couldn't be opened" : refused);
    m_view.SetUndoValid(false);  // "backup.ckt" holds what is shown: a second Undo would lose Redo's state
    return;
  }
  const bool copied =
      m_view.StoreUndo(undo.Backup(), [&bytes](std::FILE* f) { std::fwrite(bytes.data(), 1, bytes.size(), f); });
  m_view.SetUndoValid(copied);
}

void EditCommands::OnEditRedo() {
  if (!m_view.CanRedo()) return;
  const UndoFiles& undo = m_view.Undo();
  const Swap swap = SwapThrough(undo.Backup(), undo.Backup2());
  // Undo goes back to the state Redo left only when both happened; a Redo that
  // neither wrote nor read left "backup.ckt" and the circuit as they were.
  if (swap.saved || swap.read) m_view.SetUndoValid(swap.saved && swap.read);
}

bool EditCommands::OnEditCopy() {
  m_view.EndPlacing();
  m_view.Undo().RemoveStrangers();
  sdi::elist selected;
  for (sdi::enode* n = sdi::circuit.head; n; n = static_cast<sdi::enode*>(n->next))
    if (n->value && n->value->selected) selected.insert(n->value);
  const int written = sdi::write_element_file(ClipboardFile(), selected);
  selected.list_clear();
  if (!written) {
    ShowMessage(std::string("File ") + sdi::clipboard_file_name + " couldn't be opened");
    return false;
  }
  m_view.Edit().EndSelection();
  m_canPaste = 1;
  return true;
}

void EditCommands::OnEditCut() {
  if (!OnEditCopy()) return;
  m_view.SaveBackup();
  {
    ViewClientDraw dc(m_view);
    m_view.Edit().DeleteSelected();
    JoinCollinearWires();
    m_view.Junctions().Redraw();
  }
  m_view.Host().Invalidate();
}

bool EditCommands::OnEditPaste() {
  m_view.EndPlacing();
  m_view.SaveBackup();
  sdi::deselect_all();
  m_view.Undo().RemoveStrangers();
  sdi::elist pasted;
  if (!sdi::read_element_file(ClipboardFile(), pasted)) {
    m_view.Host().Invalidate();
    return false;
  }
  std::set<int> ids;
  long long smallest = LLONG_MAX, largest = 0;
  for (sdi::enode* n = pasted.head; n; n = static_cast<sdi::enode*>(n->next)) {
    ids.insert(n->value->id);
    smallest = std::min<long long>(smallest, n->value->id);
    largest = std::max<long long>(largest, n->value->id);
  }
  int offset = 0;
  if (!ids.empty() && !PasteOffset(sdi::GetMaxElementId(), smallest, largest, offset)) {
    ShowMessage("Paste refused: the circuit's element ids are used up.");
    sdi::delete_list_elements(pasted);
    m_view.Host().Invalidate();
    return false;
  }
  const SheetRect extent = ElementListExtent(ExtentItemsOf(pasted));
  const bool hasMultiplier = CircuitHolds(sdi::kind_multiplier), hasProbe = CircuitHolds(sdi::kind_probe);
  while (pasted.list_first()) {
    sdi::element* e = pasted.remove_current();
    if ((e->kind == sdi::kind_multiplier && hasMultiplier) || (e->kind == sdi::kind_probe && hasProbe)) {
      ShowMessage(e->kind == sdi::kind_multiplier ? "Only one multiplier allowed." : "Only one probe allowed.");
      delete e;
      continue;
    }
    ++e->selected;
    sdi::assign_default_name(e);
    e->id += offset;
    // A dropped coupling has been deleted there, its message shown.
    if (sdi::FixPastedReferences(e, offset, ids)) sdi::circuit.insert(e);
  }
  m_view.Edit().StartFloating(sdi::rect(extent.x, extent.y, extent.w, extent.h));
  m_view.Host().Invalidate();
  return true;
}

void EditCommands::OnEditSelectAll() {
  m_view.EndPlacing();
  m_view.Edit().SelectAll();
}

bool PlaceSubcircuit(ViewCore& view, const std::string& fileName) {
  view.EndPlacing();
  sdi::new_subcircuit(fileName.c_str());
  auto* made = dynamic_cast<sdi::sub*>(sdi::pending_element);
  // A symbol that could not be read leaves an empty element: never drawn, never placed.
  if (!made || made->type_name.empty()) {
    delete sdi::pending_element;
    sdi::pending_element = nullptr;
    sdi::previous_pending_element = nullptr;
    return false;
  }
  view.Edit().newElement();
  return true;
}

}  // namespace zorv
