#include "sdi/zorv/core/view/view_core.h"

#include "sdi/zorv/core/base/messages.h"

#include <filesystem>
#include <system_error>
#include <utility>

namespace zorv {

ViewCore::ViewCore(ViewHost& host, UndoFiles& undo, SaveFn save)
    : m_host(host), m_undo(undo), m_save(std::move(save)), m_edit(*this) {}

void ViewCore::SetDpi(int dpiX, int dpiY) {
  m_map.dpiX = dpiX > 0 ? dpiX : 100;
  m_map.dpiY = dpiY > 0 ? dpiY : 100;
}

void ViewCore::ResetScrollSizes() {
  ScrollState old = m_scroll;
  old.pos = m_host.ScrollPosition();
  const bool first = m_scrollResetCount == 0;
  ++m_scrollResetCount;
  m_scroll = zorv::ResetScrollSizes(old, m_map, m_host.ClientSize(), first);
  m_host.ApplyScroll(m_scroll);
}

void ViewCore::OnViewZoomIn() {
  if (!m_map.ZoomIn()) return;
  ResetScrollSizes();
  m_host.Invalidate();
}

void ViewCore::OnViewZoomOut() {
  if (!m_map.ZoomOut()) return;
  ResetScrollSizes();
  m_host.Invalidate();
}

void ViewCore::OnViewZoomAll(SheetRect extent) {
  const Size client = m_host.ClientSize();
  m_map.zoom = ZoomAllFactor(extent, client, m_map.dpiX);
  ResetScrollSizes();
  m_scroll.pos = ClampScroll(ZoomAllScrollTarget(extent, m_map), m_scroll.total, client);
  m_host.ApplyScroll(m_scroll);
  m_host.Invalidate();
}

void ViewCore::OnViewGrid() {
  *m_gridShown = *m_gridShown ? 0 : 1;
  m_host.Invalidate();
}

void ViewCore::SaveBackup() {
  m_canRedo = 0;
  m_undoValid = StoreUndo(m_undo.Backup());
  m_host.SetDocumentModified();
}

bool ViewCore::StoreUndo(const std::filesystem::path& target, const UndoFiles::Writer& write) {
  std::string why;
  if (m_undo.Store(target, write ? write : m_save, why)) {
    m_undoFailureShown = false;
    return true;
  }
  // Every edit takes an undo point: one box for a full disk, not one per edit.
  if (!m_undoFailureShown) ShowMessage("The undo point could not be saved: " + why);
  m_undoFailureShown = true;
  return false;
}

void ViewCore::OnDocumentReplaced() {
  m_edit.Reset();
  m_canRedo = 0;
  m_undoValid = false;
  std::error_code ec;
  std::filesystem::remove(m_undo.Backup(), ec);
  std::filesystem::remove(m_undo.Backup2(), ec);
}

void ViewCore::ScrollTo(Pos pos) {
  m_scroll.pos = ClampScroll(pos, m_scroll.total, m_host.ClientSize());
  m_host.ApplyScroll(m_scroll);
  m_host.Invalidate();
}

PrintGridGuard::PrintGridGuard(int& gridShown) : m_grid(gridShown) {
  if (m_grid) {
    m_grid = 0;
    m_hidden = true;
  }
}

PrintGridGuard::~PrintGridGuard() {
  if (m_hidden) m_grid = 1;
}

}  // namespace zorv
