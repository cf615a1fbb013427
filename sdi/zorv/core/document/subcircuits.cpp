#include "sdi/zorv/core/document/subcircuits.h"

#include <filesystem>
#include <system_error>

#include "sdi/elements/elist.h"
#include "sdi/files/record_stream.h"
#include "sdi/edit/select_ops.h"
#include "sdi/zorv/core/base/messages.h"
#include "sdi/zorv/core/view/view_core.h"
#include "sdi/zorv/core/document/doc_names.h"
#include "sdi/zorv/core/document/zorv_doc_core.h"

namespace zorv {

std::string WithSubcircuitExtension(const std::string& path) {
  return std::filesystem::path(path).has_extension() ? path : path + ".sct";
}

Subcircuits::Subcircuits(DocCore& doc, ViewCore& view, SubcircuitHost& host)
    : m_doc(doc), m_view(view), m_host(host) {}

void Subcircuits::OnSubcircuitNew() {
  if (!m_host.SaveModified()) return;
  m_view.EndPlacing();
  m_doc.NewSubcircuit();
  m_view.OnDocumentReplaced();
  m_view.Junctions().Forget();
  m_view.Host().Invalidate();
}

void Subcircuits::OnSubcircuitOpen() {
  if (!m_host.SaveModified()) return;
  const std::string path = m_host.AskSubcircuitToOpen();
  if (!path.empty() && OpenSubcircuit(path)) m_host.RebuildLibrary();
}

bool Subcircuits::OpenSubcircuit(const std::string& path) {
  m_view.EndPlacing();
  if (!sdi::read_element_file(path, sdi::circuit)) return false;
  sdi::deselect_all();
  m_doc.AdoptSubcircuit(path);
  m_view.OnDocumentReplaced();
  m_view.Junctions().Forget();
  m_view.Host().Invalidate();
  return true;
}

void Subcircuits::OnSubcircuitSaveAs() {
  const std::string chosen = m_host.AskSubcircuitToSave();
  if (chosen.empty()) return;
  const std::string path = WithSubcircuitExtension(chosen);
  // The dialog asked about the name as typed; the name written may differ.
  std::error_code ec;
  if (path != chosen && std::filesystem::exists(path, ec) && !m_host.ConfirmOverwrite(path)) return;
  SaveSubcircuit(path);
}

bool Subcircuits::SaveSubcircuit(const std::string& path) {
  const std::string file = path.empty() ? m_doc.SubcircuitPath() : path;
  // A new name must be one the runs can use; the open subcircuit file is written as it is.
  if (!(m_doc.IsSubcircuit() && file == m_doc.FileName())) {
    if (const std::string refused = NameRefusal(file, "the subcircuit is not saved. Choose a name without one.");
        !refused.empty()) {
      ShowMessage(refused);
      return false;
    }
  }
  if (!sdi::write_element_file(file, sdi::circuit)) {
    ShowMessage("Subcircuit couldn't be saved");
    return false;
  }
  m_doc.AdoptSubcircuit(file);
  return true;
}

}  // namespace zorv
