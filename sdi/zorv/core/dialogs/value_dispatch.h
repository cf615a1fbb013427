// The value dialogs of placed elements: a double-click opens the dialog of the
// element's kind filled from it, OK stores what was typed (after an undo point),
// and every end marks the element as valued (flag 4). Controlled sources,
// secondaries and thresholds go through a staging record, so that a Select
// button can hand the sheet back to the user: the next button-up picks the
// element referred to and the dialog opens again with it. The mutual-inductance
// pair dialog picks its inductors the same way.
//
//     ElementDialogs dialogs(host);
//     dialogs.EditElement(hitId);                   // double-click on a placed element
//     if (dialogs.Picking()) {                      // at the next button-up:
//       dialogs.TakePick(sheetPoint);               //   the pick (or a beep)
//       ...after the handler returned: dialogs.Reopen();
//     }
//
// The element is kept by id: a pick whose element is gone ends silently.
#pragma once
#include <string>
#include <vector>

#include "sdi/draw/geometry.h"
#include "sdi/zorv/core/dialogs/dialog_service.h"

namespace sdi {
class element;
}

namespace zorv {

class ElementDialogHost {
public:
  virtual ~ElementDialogHost() = default;
  virtual DialogService& Dialogs() = 0;
  virtual void SaveBackup() = 0;  // the undo point
  virtual void Beep() = 0;        // the exclamation beep of a pick that missed
  virtual void ShowMessage(const std::string& text) = 0;
  // Draws the elements a dialog refers to in the selection colour (the selection
  // itself unchanged), and afterwards repaints the sheet.
  virtual void DrawReferred(const std::vector<int>& ids) = 0;
  virtual void Repaint() = 0;
  // Draws a coupling just inserted.
  virtual void DrawNew(sdi::element*) {}
  // Has Reopen called once the button-up handler that took a pick has returned.
  virtual void ReopenLater() {}
};

// What a staged dialog shows between its openings.
struct StagingRecord {
  std::string name;
  double c1 = 0, c2 = 0, c3 = 0;
  double ct_sim = 0, ct_cyc = 0, ct_topo = 0;
  double ct_on = 0;
  double value = 0;  // gain, turns or the threshold's const
  int portIds[3] = {0, 0, 0};
  int linkedId = 0;  // the controlling element, the primary or the threshold's switch
};

class ElementDialogs {
public:
  explicit ElementDialogs(ElementDialogHost& host) : m_host(host) {}

  // Runs the dialog of the placed element with this id (nothing for wires,
  // junctions, grounds and labels).
  void EditElement(int id);

  // The Label command's letter dialog: true with next_label_letter set to the
  // letter chosen, false on Cancel.
  bool ChooseLabelLetter();

  // The M command and its reopening: the pair dialog; OK with two different
  // inductors inserts their coupling after an undo point. True when one went in.
  bool PlaceMutualInductance();

  // Whether the next button-up on the sheet is a pick.
  bool Picking() const { return m_pickSource || m_pickThreshold || m_pickInductor; }
  // The pick at that sheet point (a beep and 0 when nothing suitable is there);
  // the picking mode ends and Reopen is due.
  void TakePick(const sdi::point& p);
  bool ReopenDue() const { return m_reopen; }
  // Opens the dialog of the pick again (nothing when its element is gone).
  void Reopen();
  // Ends any pick and forgets the inductor pair (every mode of the view ended).
  void Reset();

  int CurrentElement() const { return m_curElement; }
  const StagingRecord& Staging() const { return m_staging; }
  const int* InductorIds() const { return m_inductorIds; }

private:
  void RunPlain(sdi::element* e);
  void RunStaged();
  void LoadStaging(sdi::element* e);
  void StoreStaging(sdi::element* e);

  ElementDialogHost& m_host;
  int m_curElement = 0;  // id
  int m_pickSource = 0;
  int m_pickKind = 0;       // 1 VCVS, 2 VCIS, 3 ICVS, 4 ICIS, 5 secondary
  int m_pickThreshold = 0;  // 1..3 an input port, 4 the switch
  int m_pickInductor = 0;   // 1 or 2
  int m_inductorIds[2] = {0, 0};
  bool m_reopen = false;
  bool m_reopenPair = false;  // the pick was an inductor's: the pair dialog reopens
  StagingRecord m_staging;
};

}  // namespace zorv
