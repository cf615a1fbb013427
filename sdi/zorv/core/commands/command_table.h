// The editor's menus, toolbars, accelerators and status-bar prompts as data.
//
// A prompt is "status text\ntooltip"; a prompt without the second part uses the
// status text as its tooltip too. Ids are those of command_ids.h; 0 in a toolbar
// is a separator, and a menu item labelled "-" is one.
#pragma once
#include <string>
#include <vector>

namespace zorv {

struct CommandPrompt {
  std::string status;   // shown in the status bar while the command is pointed at
  std::string tooltip;  // shown beside a toolbar button
};

// The prompt of a command; empty texts for an id without one.
CommandPrompt PromptFor(int id);

// Splits "status\ntooltip"; without "\n" both are the whole text.
CommandPrompt SplitPrompt(const std::string& text);

// The buttons of the main toolbar and of the element toolbar, in order.
const std::vector<int>& MainToolbarButtons();
const std::vector<int>& ElementToolbarButtons();

struct MenuItem {
  std::string label;            // "\t" before the accelerator text; "-" a separator
  int id = 0;                   // 0 for separators and popups
  std::vector<MenuItem> items;  // a popup's items
};

// The main menu bar: one popup per entry.
const std::vector<MenuItem>& MainMenu();

enum class AccelKey { Letter, Backspace, Delete, Insert, F6 };

struct Accelerator {
  bool ctrl = false;
  bool shift = false;
  bool alt = false;
  AccelKey key = AccelKey::Letter;
  char letter = 0;  // for AccelKey::Letter
  int id = 0;
};

const std::vector<Accelerator>& Accelerators();

// A short label of a command, used to draw its toolbar button.
std::string ShortLabel(int id);

}  // namespace zorv
