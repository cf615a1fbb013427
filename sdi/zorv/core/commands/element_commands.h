// The Element menu and toolbar, and the double-click on a placed element, for
// the view: each element command makes its element pending for placing; Label
// asks for its letter first; M couples two inductors chosen in its pair dialog
// (nothing is left pending); a second multiplier is refused and leaves nothing
// pending. Double-clicking a placed element opens its value dialog
// (value_dispatch.h), whose picks the view's button-up serves.
//
//     ElementCommands elements(view, host);   // hooks itself into view.Edit()
//     elements.OnElement(sdi::kind_resistor);
//     elements.OnLButtonDblClk({200, 160});
#pragma once
#include <functional>

#include "sdi/zorv/core/dialogs/value_dispatch.h"
#include "sdi/zorv/core/view/view_core.h"

namespace zorv {

class ElementCommandHost {
public:
  virtual ~ElementCommandHost() = default;
  virtual DialogService& Dialogs() = 0;
  virtual void Beep() = 0;
  // Runs `f` after the event handler now running has returned.
  virtual void Later(std::function<void()> f) = 0;
};

class ElementCommands : private ElementDialogHost, private PickingModes {
public:
  ElementCommands(ViewCore& view, ElementCommandHost& host);
  ~ElementCommands() override;
  ElementCommands(const ElementCommands&) = delete;
  ElementCommands& operator=(const ElementCommands&) = delete;

  // The command that makes an element of this kind (Wire is the view's own).
  void OnElement(int kind);
  // A double-click at a device point: the dialog of the element hit there, when
  // nothing is pending and wire mode is off.
  void OnLButtonDblClk(Pos device);
  // Whether a double-click there opens a dialog.
  bool WantsDoubleClick(Pos device) const;

  ElementDialogs& Values() { return m_dialogs; }

private:
  int HitForDialog(Pos device) const;
  // ElementDialogHost
  DialogService& Dialogs() override { return m_host.Dialogs(); }
  void SaveBackup() override { m_view.SaveBackup(); }
  void Beep() override { m_host.Beep(); }
  void ShowMessage(const std::string& text) override;
  void DrawReferred(const std::vector<int>& ids) override;
  void Repaint() override { m_view.Host().Invalidate(); }
  void DrawNew(sdi::element* e) override;
  void ReopenLater() override;
  // PickingModes
  bool Picking() const override { return m_dialogs.Picking(); }
  void TakePick(const sdi::point& s) override { m_dialogs.TakePick(s); }
  void EndPicking() override { m_dialogs.Reset(); }

  ViewCore& m_view;
  ElementCommandHost& m_host;
  ElementDialogs m_dialogs{*this};
};

}  // namespace zorv
