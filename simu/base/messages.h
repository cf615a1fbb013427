// The engine's message-box hooks and the text that ends a run.
//
// Every box of the engine goes to main_window().message_box (run_services.h) through
// engine_box, which keeps the time it stays open out of the run's clock (stopwatch.h).
#pragma once

#include <string>

#include "simu/base/run_services.h"

int engine_box(const char* text, box_style style);   // the box's result

int error_box(const char* text);   // plain OK box; always returns 0
int info_box(const char* text);    // information box; returns the box's result

// Ends the run with the text: throws it as const char* pointing at storage that lives
// until the next throw from here, long enough for the engine's entry to show it.
[[noreturn]] void throw_text(const std::string& text);
