#include "sdi/zorv/core/document/zorv_doc_core.h"

#include <utility>

#include "sdi/zorv/core/document/doc_names.h"
#include "sdi/zorv/core/base/messages.h"

namespace zorv {

DocCore::DocCore(DocHost& host, CircuitFiles files) : m_host(host), m_files(std::move(files)) {}

std::string DocCore::Title() const { return MainTitle(m_fileName); }

void DocCore::PublishNames() {
  if (m_files.publishBaseName) m_files.publishBaseName(m_basePath);
  m_host.SetMainTitle(Title());
}

void DocCore::DeleteContents() {
  if (m_files.clear) m_files.clear();
  m_basePath = UntitledBaseAfter(m_basePath);
  // The title is computed from the file name, so a later failure never shows
  // "ZORV - " twice.
  m_fileName = kUntitledFile;
  PublishNames();
}

bool DocCore::OnNewDocument() {
  DeleteContents();
  m_subcircuit = false;
  m_host.SetModified(false);
  return true;
}

bool DocCore::OnOpenDocument(const std::string& path) {
  const OpenResult result = m_files.open ? m_files.open(path) : OpenResult::CannotOpen;
  if (result == OpenResult::CannotOpen) ShowMessage(kCouldntOpenFile);
  if (result != OpenResult::Read) return false;
  m_host.SetModified(false);
  m_subcircuit = false;
  m_fileName = path;
  m_basePath = BaseNameOf(path);
  if (m_workDir.empty()) m_workDir = FolderOf(path);
  if (m_files.adopt) m_files.adopt(path);
  PublishNames();
  return true;
}

bool DocCore::OnSaveDocument(const std::string& path) {
  // A new name (Save As) must be one the runs can use; the open file is written as it is.
  if (path != m_fileName) {
    const std::string refused = NameRefusal(path, "the circuit is not saved. Choose a name without one.");
    if (!refused.empty()) {
      ShowMessage(refused);
      return false;
    }
  }
  if (!m_files.save || !m_files.save(path)) return false;
  m_subcircuit = false;
  m_fileName = path;
  m_basePath = BaseNameOf(path);
  if (m_files.adopt) m_files.adopt(path);
  PublishNames();
  m_host.SetModified(false);
  return true;
}

}  // namespace zorv

namespace zorv {

void DocCore::NewSubcircuit() {
  DeleteContents();
  m_subcircuit = true;
  m_fileName = kUntitledSubcircuit;
  PublishNames();
  m_host.SetModified(false);
}

void DocCore::AdoptSubcircuit(const std::string& path) {
  m_subcircuit = true;
  m_fileName = path;
  m_basePath = BaseNameOf(path);
  if (m_files.adopt) m_files.adopt(path);
  PublishNames();
  m_host.SetModified(false);
}

std::string DocCore::SubcircuitPath() const {
  if (m_subcircuit && m_fileName != kUntitledSubcircuit) return m_fileName;
  return m_basePath + ".sct";
}

}  // namespace zorv
