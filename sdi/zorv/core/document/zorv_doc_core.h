// The document's state and its New / Open / Save flows, without the toolkit.
//
// One DocCore lives for the whole program (the editor has one document); the wx
// document class forwards to it. The circuit itself is the model's global list:
// the document only names the file, publishes the base name and routes New, Open
// and Save to the model through CircuitFiles.
//     DocCore doc(host, files);
//     doc.OnNewDocument();              // title "ZORV - Untitled.ckt"
//     if (doc.OnOpenDocument(path)) ... // false: reported, the open circuit kept
//     if (doc.OnSaveDocument(path)) ... // false: reported, still modified
#pragma once
#include <string>

#include "sdi/zorv/core/document/circuit_files.h"

namespace zorv {

// What the document needs from the window system.
class DocHost {
public:
  virtual ~DocHost() = default;
  virtual void SetMainTitle(const std::string& title) = 0;  // no-op without a main window
  virtual void SetModified(bool modified) = 0;
  virtual bool IsModified() const = 0;
};

struct SheetSize {
  int cx = 0;
  int cy = 0;
};

class DocCore {
public:
  DocCore(DocHost& host, CircuitFiles files);

  // Deletes every element, keeps the base path's folder with "Untitled", publishes it.
  void DeleteContents();
  // A new, empty, unmodified document.
  bool OnNewDocument();
  // Reads the file; on success it becomes the open file (names, base name, title,
  // unmodified). On failure the reason is shown and nothing changes.
  bool OnOpenDocument(const std::string& path);
  // Writes the circuit to exactly `path`; on success the names follow it and the
  // document is unmodified. On failure nothing changes and the document stays modified.
  // A path other than the open file's that holds a control character is refused
  // (NameRefusal) before anything is written.
  bool OnSaveDocument(const std::string& path);

  // Subcircuit documents, stored as element records (".sct") by every save.
  bool IsSubcircuit() const { return m_subcircuit; }
  // Subcircuit New: the contents deleted, the file "Untitled.sct" in the base
  // path's folder, unmodified.
  void NewSubcircuit();
  // A subcircuit file just read or written became the open file, unmodified.
  void AdoptSubcircuit(const std::string& path);
  // Where Subcircuit Save writes: the open subcircuit file, or after Subcircuit
  // New (or for a circuit) the base path + ".sct".
  std::string SubcircuitPath() const;

  const std::string& BasePath() const { return m_basePath; }
  const std::string& WorkDir() const { return m_workDir; }
  const std::string& FileName() const { return m_fileName; }
  std::string Title() const;
  SheetSize SizeDoc() const { return m_sizeDoc; }

private:
  void PublishNames();

  DocHost& m_host;
  CircuitFiles m_files;
  std::string m_basePath;
  std::string m_workDir;
  std::string m_fileName;
  SheetSize m_sizeDoc{2000, 3000};
  bool m_subcircuit = false;
};

}  // namespace zorv
