// The Subcircuit commands without the toolkit: a subcircuit is edited as the open
// circuit and stored as a ".sct" file (element records, no header).
//
//     Subcircuits sub(doc, view, host);
//     sub.OnSubcircuitNew();    // "ZORV - Untitled.sct"
//     sub.OnSubcircuitSave();   // <folder>/Untitled.sct
#pragma once
#include <string>

namespace zorv {

class DocCore;
class ViewCore;

// What the subcircuit commands need from the window system.
class SubcircuitHost {
public:
  virtual ~SubcircuitHost() = default;
  // The document's save-changes prompt for a changed circuit; false when cancelled.
  virtual bool SaveModified() = 0;
  // The file dialogs; an empty path when cancelled.
  virtual std::string AskSubcircuitToOpen() = 0;
  virtual std::string AskSubcircuitToSave() = 0;
  // Whether an existing file may be replaced.
  virtual bool ConfirmOverwrite(const std::string& path) = 0;
  // The circuit's folder changed: the Library menu is built anew.
  virtual void RebuildLibrary() = 0;
};

inline const char* const kSubcircuitFilter = "Subcircuit files (*.sct)|*.sct";

class Subcircuits {
public:
  Subcircuits(DocCore& doc, ViewCore& view, SubcircuitHost& host);

  void OnSubcircuitNew();
  void OnSubcircuitOpen();
  bool OnSubcircuitSave() { return SaveSubcircuit(""); }
  void OnSubcircuitSaveAs();
  // Writes every element of the circuit to `path` (the document's subcircuit path
  // when empty). On success the file becomes the open one; on failure
  // "Subcircuit couldn't be saved" and nothing changes. A path other than the open
  // subcircuit file's that holds a control character is refused (NameRefusal).
  bool SaveSubcircuit(const std::string& path);
  // Reads a subcircuit file in place of the circuit; false (the model's message
  // shown) leaves circuit, names and title as they were.
  bool OpenSubcircuit(const std::string& path);

private:
  DocCore& m_doc;
  ViewCore& m_view;
  SubcircuitHost& m_host;
};

// A path given without an extension gets ".sct".
std::string WithSubcircuitExtension(const std::string& path);

}  // namespace zorv
