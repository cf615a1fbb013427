// Command ids of the editor's menus, toolbars and accelerators.
//
// The application's own commands keep their numbers; the framework's commands
// (file, edit, print, bars, exit) have numbers here too, and the toolkit layer maps
// them onto its standard ids.
#pragma once

namespace zorv::cmd {

enum : int {
  VDC = 32776, IDC = 32777, VAC = 32778, VCVS = 32779, VCIS = 32780, ICVS = 32781, ICIS = 32782,
  R = 32783, C = 32784, L = 32785, M = 32786, XformerPrimary = 32787, XformerSecondary = 32788,
  Wire = 32789, Label = 32791, Ground = 32792, VPort = 32793, IPort = 32794, ISense = 32796,
  Clock = 32797, Modulator = 32798, UpperLimiter = 32799, LowerLimiter = 32800, Threshold = 32801,
  VCO = 32802, Switch = 32803, Diode = 32804, OpAmp = 32805, Multiplier = 32806,
  SimulationRun = 32807, ZoomIn = 32812, ZoomOut = 32813, SimulationParameters = 32814,
  ViewPlot = 32815, Select = 32817, ElementToolbar = 32848, ViewGrid = 32849,
  SteadyStateRun = 32851, SteadyStateOptions = 32852, ViewSequence = 32853,
  LibraryDummy1 = 32858, LibraryDummy2 = 32859, LibraryDummy3 = 32860, LibraryUpdate = 32861,
  SubcircuitNew = 32862, SubcircuitOpen = 32863, SubcircuitSave = 32864, SubcircuitSaveAs = 32865,
  LimitedRun = 32871, LimitedCycles = 32872, ZoomAll = 32873, Redraw = 32875,
  SimulationOptions = 32893, CopyToClipboard = 32894,
};

// Framework commands.
enum : int {
  FileNew = 57600, FileOpen = 57601, FileSave = 57603, FileSaveAs = 57604, PrintSetup = 57606,
  Print = 57607, PrintDirect = 57608, PrintPreview = 57609, RecentFile = 57616,
  EditCopy = 57634, EditCut = 57635, EditPaste = 57637, EditSelectAll = 57642, EditUndo = 57643,
  EditRedo = 57644, AppAbout = 57664, AppExit = 57665, NextPane = 57680, PrevPane = 57681,
  ViewToolbar = 59392, ViewStatusBar = 59393,
};

}  // namespace zorv::cmd
