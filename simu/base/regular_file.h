// Opening a file that is read whole: only a regular file of bounded size, and never
// blocking (a FIFO without a writer, a device), so a run or the editor cannot hang on it.
//
//     std::string text;
//     switch (read_regular_file("a.ini", max_bytes, text)) {
//       case file_check::ok: ...             // text holds the whole file
//       case file_check::cannot_open: ...    // missing, unreadable, a folder
//       case file_check::not_regular: ...    // a FIFO, a device, a socket
//       case file_check::too_large: ...      // more than max_bytes
//     }
#pragma once
#include <cstddef>
#include <string>

enum class file_check { ok, cannot_open, not_regular, too_large };

// Opens path read-only and without blocking; fd is the open descriptor (blocking again,
// close-on-exec) when the result is ok, -1 otherwise. A folder cannot be opened.
file_check open_regular_file(const char* path, std::size_t max_bytes, int& fd);

// The whole file into text (cannot_open also when a read fails).
file_check read_regular_file(const char* path, std::size_t max_bytes, std::string& text);

// The first max_bytes bytes of the file, whatever its size, into text (cannot_open also
// when a read fails; never too_large).
file_check read_regular_file_head(const char* path, std::size_t max_bytes, std::string& text);

// Whether something that is no regular file is at path, links followed: a folder, which
// the readers above call cannot_open, is one; nothing there (or a dangling link) is not.
bool is_there_but_not_regular(const char* path);

// The editor's text for a refused file: "File <name> is not a regular file." or
// "File <name> is larger than <max_bytes> bytes."; empty for ok and cannot_open,
// whose texts belong to each caller.
std::string refusal_text(file_check result, const std::string& name, std::size_t max_bytes);
