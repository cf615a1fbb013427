#include "sdi/zorv/core/commands/command_table.h"

#include <map>

#include "sdi/zorv/core/commands/command_ids.h"

namespace zorv {
namespace {

const std::map<int, std::string>& PromptTexts() {
  static const std::map<int, std::string> texts = {
      {cmd::VDC, "Voltage Source"},
      {cmd::IDC, "Current Source"},
      {cmd::VAC, "Sine Voltage Source"},
      {cmd::VCVS, "Voltage Controlled Voltage Source"},
      {cmd::VCIS, "Voltage Controlled Current Source"},
      {cmd::ICVS, "Current Controlled Voltage Source"},
      {cmd::ICIS, "Current Controlled Current Source"},
      {cmd::R, "Resistor"},
      {cmd::C, "Capacitor"},
      {cmd::L, "Inductor"},
      {cmd::M, "Mutual Inductance"},
      {cmd::XformerPrimary, "Transformer Primary"},
      {cmd::XformerSecondary, "Transformer Secondary"},
      {cmd::Wire, "Connect the components with a  wire\nWire"},
      {cmd::Label, "Label"},
      {cmd::Ground, "Ground"},
      {cmd::VPort, "Voltage Port"},
      {cmd::IPort, "Current Port"},
      {cmd::ISense, "Current Sense"},
      {cmd::Clock, "Clock"},
      {cmd::Modulator, "Modulator"},
      {cmd::UpperLimiter, "Upper Limiter"},
      {cmd::LowerLimiter, "Lower Limiter"},
      {cmd::Threshold, "Threshold"},
      {cmd::VCO, "Voltage Controlled Oscillator"},
      {cmd::Switch, "Switch"},
      {cmd::Diode, "Diode"},
      {cmd::OpAmp, "Operational Amplifier"},
      {cmd::Multiplier, "Multiplier"},
      {cmd::SimulationRun, "Run a transient simulation\nRun"},
      {cmd::ZoomIn, "Zoom In\nZoom In"},
      {cmd::ZoomOut, "Zoom Out\nZoom Out"},
      {cmd::SimulationParameters, "Parameters"},
      {cmd::ViewPlot, "Start the plotting program\nPlot"},
      {cmd::Select, "Select\nSelect"},
      {cmd::ElementToolbar, "Show or hide the element toolbar\nToggle Element Toolbar"},
      {cmd::ViewGrid, "Show or hide the grid\nShow or hide the grid"},
      {cmd::SteadyStateRun, "Run a steady-state simulation\nRun (steady-state)"},
      {cmd::SubcircuitNew, "Create a new subcircuit"},
      {cmd::SubcircuitOpen, "Open an existing subcircuit"},
      {cmd::SubcircuitSave, "Save the current subcircuit"},
      {cmd::SubcircuitSaveAs, "Save the current subcircuit with a new name"},
      {cmd::LimitedRun, "Run a limited simulation"},
      {cmd::LimitedCycles, "Number of steady-state cycles in limited simulation"},
      {cmd::ZoomAll, "Zoom all\n Zoom all"},
      {cmd::Redraw, "Refresh the display\n Redraw"},
      // The framework's own commands.
      {cmd::FileNew, "Create a new circuit\nNew"},
      {cmd::FileOpen, "Open an existing circuit\nOpen"},
      {cmd::FileSave, "Save the circuit\nSave"},
      {cmd::FileSaveAs, "Save the circuit with a new name\nSave As"},
      {cmd::PrintSetup, "Change the printer and printing options\nPrint Setup"},
      {cmd::Print, "Print the circuit\nPrint"},
      {cmd::PrintPreview, "Show the circuit as it will be printed\nPrint Preview"},
      {cmd::EditCopy, "Copy the selection and put it on the Clipboard\nCopy"},
      {cmd::EditCut, "Remove the selection and put it on the Clipboard\nCut"},
      {cmd::EditPaste, "Insert the Clipboard contents\nPaste"},
      {cmd::EditSelectAll, "Select the whole circuit\nSelect All"},
      {cmd::EditUndo, "Undo the last change\nUndo"},
      {cmd::EditRedo, "Redo the change last undone\nRedo"},
      {cmd::CopyToClipboard, "Copy the drawing to the Clipboard as a picture\nCopy to Clipboard"},
      {cmd::AppAbout, "Show the program information and version\nAbout"},
      {cmd::AppExit, "Quit the program; asks to save a changed circuit\nExit"},
      {cmd::ViewToolbar, "Show or hide the toolbar\nToggle Toolbar"},
      {cmd::ViewStatusBar, "Show or hide the status bar\nToggle Status Bar"},
  };
  return texts;
}

}  // namespace

CommandPrompt SplitPrompt(const std::string& text) {
  const auto nl = text.find('\n');
  if (nl == std::string::npos) return {text, text};
  return {text.substr(0, nl), text.substr(nl + 1)};
}

CommandPrompt PromptFor(int id) {
  const auto& texts = PromptTexts();
  const auto it = texts.find(id);
  return it == texts.end() ? CommandPrompt{} : SplitPrompt(it->second);
}

const std::vector<int>& MainToolbarButtons() {
  static const std::vector<int> buttons = {
      cmd::FileNew, cmd::FileOpen, cmd::FileSave, cmd::Print, 0,
      cmd::EditCut, cmd::EditCopy, cmd::EditPaste, 0,
      cmd::Wire, cmd::Select, 0,
      cmd::ZoomIn, cmd::ZoomOut, cmd::ZoomAll, 0,
      cmd::SimulationRun, cmd::ViewPlot, cmd::SteadyStateRun, 0,
      cmd::AppAbout};
  return buttons;
}

const std::vector<int>& ElementToolbarButtons() {
  static const std::vector<int> buttons = {
      cmd::Ground, cmd::R, cmd::C, cmd::L, cmd::M, cmd::XformerPrimary, cmd::XformerSecondary,
      cmd::Wire, cmd::VDC, cmd::IDC, cmd::VAC, cmd::VCVS, cmd::ICVS, cmd::VCIS, cmd::ICIS,
      cmd::Diode, cmd::Switch, cmd::Clock, cmd::Modulator, cmd::Threshold, cmd::VPort,
      cmd::IPort, cmd::ISense, cmd::OpAmp, cmd::Multiplier, cmd::VCO, cmd::Label,
      cmd::UpperLimiter, cmd::LowerLimiter};
  return buttons;
}

const std::vector<MenuItem>& MainMenu() {
  const MenuItem sep{"-", 0, {}};
  static const std::vector<MenuItem> menu = {
      {"&File", 0,
       {{"&New\tCtrl+N", cmd::FileNew, {}},
        {"&Open...\tCtrl+O", cmd::FileOpen, {}},
        {"&Save\tCtrl+S", cmd::FileSave, {}},
        {"Save &As...", cmd::FileSaveAs, {}},
        sep,
        {"&Print...\tCtrl+P", cmd::Print, {}},
        {"Print Pre&view", cmd::PrintPreview, {}},
        {"P&rint Setup...", cmd::PrintSetup, {}},
        sep,
        {"Recent File", cmd::RecentFile, {}},
        sep,
        {"E&xit", cmd::AppExit, {}}}},
      {"&Edit", 0,
       {{"&Undo\tCtrl+Z", cmd::EditUndo, {}},
        {"Redo", cmd::EditRedo, {}},
        sep,
        {"Cu&t\tCtrl+X", cmd::EditCut, {}},
        {"&Copy\tCtrl+C", cmd::EditCopy, {}},
        {"&Paste\tCtrl+V", cmd::EditPaste, {}},
        sep,
        {"Select &All", cmd::EditSelectAll, {}},
        sep,
        {"Copy to Clipboard", cmd::CopyToClipboard, {}}}},
      {"&View", 0,
       {{"&Toolbar", cmd::ViewToolbar, {}},
        {"&Element Toolbar", cmd::ElementToolbar, {}},
        {"&Status Bar", cmd::ViewStatusBar, {}},
        sep,
        {"&Grid", cmd::ViewGrid, {}},
        sep,
        {"Zoom &In", cmd::ZoomIn, {}},
        {"Zoom &Out", cmd::ZoomOut, {}},
        {"Zoom &All", cmd::ZoomAll, {}},
        sep,
        {"Redraw", cmd::Redraw, {}}}},
      {"S&ubcircuit", 0,
       {{"&New", cmd::SubcircuitNew, {}},
        {"&Open...", cmd::SubcircuitOpen, {}},
        {"&Save", cmd::SubcircuitSave, {}},
        {"Save &As...", cmd::SubcircuitSaveAs, {}}}},
      {"E&lement", 0,
       {{"Sources", 0,
         {{"VDC", cmd::VDC, {}},
          {"IDC", cmd::IDC, {}},
          {"VAC", cmd::VAC, {}},
          {"VCVS", cmd::VCVS, {}},
          {"VCIS", cmd::VCIS, {}},
          {"ICVS", cmd::ICVS, {}},
          {"ICIS", cmd::ICIS, {}}}},
        {"Basic", 0,
         {{"R", cmd::R, {}},
          {"C", cmd::C, {}},
          {"L", cmd::L, {}},
          {"M", cmd::M, {}},
          {"Xformer Primary", cmd::XformerPrimary, {}},
          {"Xformer Secondary", cmd::XformerSecondary, {}},
          {"Wire", cmd::Wire, {}},
          {"Label", cmd::Label, {}},
          {"Ground", cmd::Ground, {}}}},
        {"Sense", 0,
         {{"V Port", cmd::VPort, {}}, {"I Port", cmd::IPort, {}}, {"I Sense", cmd::ISense, {}}}},
        {"Switch Control", 0,
         {{"Clock", cmd::Clock, {}},
          {"Modulator", cmd::Modulator, {}},
          {"Upper Limiter", cmd::UpperLimiter, {}},
          {"Lower Limiter", cmd::LowerLimiter, {}},
          {"Threshold", cmd::Threshold, {}},
          {"VCO", cmd::VCO, {}}}},
        {"Other", 0,
         {{"Switch", cmd::Switch, {}},
          {"Diode", cmd::Diode, {}},
          {"Op-Amp", cmd::OpAmp, {}},
          {"Multiplier", cmd::Multiplier, {}}}},
        {"Library", 0,
         {{"Update", cmd::LibraryUpdate, {}},
          {"dummy1", cmd::LibraryDummy1, {}},
          {"dummy2", cmd::LibraryDummy2, {}},
          {"dummy3", cmd::LibraryDummy3, {}}}}}},
      {"&Simulation", 0,
       {{"Run", cmd::SimulationRun, {}},
        {"Parameters ...", cmd::SimulationParameters, {}},
        {"Options ...", cmd::SimulationOptions, {}},
        {"View Plot", cmd::ViewPlot, {}}}},
      {"S&teady_State", 0,
       {{"Run", cmd::SteadyStateRun, {}},
        {"Options ...", cmd::SteadyStateOptions, {}},
        {"View Sequence", cmd::ViewSequence, {}},
        {"Limited Simulation", 0,
         {{"Run", cmd::LimitedRun, {}}, {"# cycles", cmd::LimitedCycles, {}}}}}},
      {"&Help", 0, {{"&About ZORV..", cmd::AppAbout, {}}}},
  };
  return menu;
}

const std::vector<Accelerator>& Accelerators() {
  static const std::vector<Accelerator> accels = {
      {true, false, false, AccelKey::Letter, 'N', cmd::FileNew},
      {true, false, false, AccelKey::Letter, 'O', cmd::FileOpen},
      {true, false, false, AccelKey::Letter, 'S', cmd::FileSave},
      {true, false, false, AccelKey::Letter, 'P', cmd::Print},
      {true, false, false, AccelKey::Letter, 'Z', cmd::EditUndo},
      {false, false, true, AccelKey::Backspace, 0, cmd::EditUndo},
      {true, false, false, AccelKey::Letter, 'X', cmd::EditCut},
      {false, true, false, AccelKey::Delete, 0, cmd::EditCut},
      {true, false, false, AccelKey::Letter, 'C', cmd::EditCopy},
      {true, false, false, AccelKey::Insert, 0, cmd::EditCopy},
      {true, false, false, AccelKey::Letter, 'V', cmd::EditPaste},
      {false, true, false, AccelKey::Insert, 0, cmd::EditPaste},
      {false, false, false, AccelKey::F6, 0, cmd::NextPane},
      {false, true, false, AccelKey::F6, 0, cmd::PrevPane},
  };
  return accels;
}

std::string ShortLabel(int id) {
  static const std::map<int, std::string> labels = {
      {cmd::Ground, "GND"}, {cmd::R, "R"}, {cmd::C, "C"}, {cmd::L, "L"}, {cmd::M, "M"},
      {cmd::XformerPrimary, "PRI"}, {cmd::XformerSecondary, "SEC"}, {cmd::Wire, "W"},
      {cmd::VDC, "V"}, {cmd::IDC, "I"}, {cmd::VAC, "VAC"}, {cmd::VCVS, "VCVS"},
      {cmd::ICVS, "ICVS"}, {cmd::VCIS, "VCIS"}, {cmd::ICIS, "ICIS"}, {cmd::Diode, "D"},
      {cmd::Switch, "SW"}, {cmd::Clock, "CLK"}, {cmd::Modulator, "MOD"},
      {cmd::Threshold, "THR"}, {cmd::VPort, "VP"}, {cmd::IPort, "IP"}, {cmd::ISense, "IS"},
      {cmd::OpAmp, "OP"}, {cmd::Multiplier, "MUL"}, {cmd::VCO, "VCO"}, {cmd::Label, "TML"},
      {cmd::UpperLimiter, "ULIM"}, {cmd::LowerLimiter, "LLIM"}, {cmd::Select, "SEL"},
      {cmd::ZoomIn, "+"}, {cmd::ZoomOut, "-"}, {cmd::ZoomAll, "ALL"}, {cmd::SimulationRun, "RUN"},
      {cmd::ViewPlot, "PLT"}, {cmd::SteadyStateRun, "SS"},
  };
  const auto it = labels.find(id);
  return it == labels.end() ? std::string() : it->second;
}

}  // namespace zorv
