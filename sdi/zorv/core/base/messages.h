// User-facing message boxes of the editor's toolkit-free code.
//
// The application installs a sink that shows a modal box with an OK button; tests
// install a recorder. Without a sink the text goes to standard error.
//     zorv::SetMessageSink([&](const std::string& t) { shown.push_back(t); });
//     zorv::ShowMessage("Couldn't Open File!");
#pragma once
#include <functional>
#include <string>

namespace zorv {

using MessageSink = std::function<void(const std::string&)>;

// Installs the sink and returns the previous one.
MessageSink SetMessageSink(MessageSink sink);
void ShowMessage(const std::string& text);

inline const char* const kCouldntOpenFile = "Couldn't Open File!";

}  // namespace zorv
