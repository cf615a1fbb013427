// Profiling timers and the run's stopwatch, in milliseconds of the run's clock: a
// monotonic clock (wall time, not processor time) that stands still while the engine
// waits on the user (a box open), so that no figure a run reports counts that wait.
//
// Twenty categories, 0..19. timer_switch(k) charges the time since the last mark
// to category k (the phase that has just ended) and makes k current; timer_mark()
// charges it to the current category.
//     timer_init(timer_labels);  ...  timer_switch(1);   // reading done
//     timer_mark(); c2d(...); timer_switch(9);            // discretisation time
//     timer_report();                                     // "<label>: 0.050" lines
#pragma once
#include <cstdint>

#include "simu/base/str.h"

constexpr int timer_count = 20;

// The engine's category labels, blank-padded to 21 characters; 10..19 are null.
extern const char* const timer_labels[timer_count];

// Milliseconds of the run's clock since an arbitrary fixed point, never going back.
std::uint64_t now_ms();

// The run's clock stands still while one lives (nested ones count once):
//     { user_wait wait; main_window().message_box(text, style); }
class user_wait {
public:
  user_wait();
  ~user_wait();
  user_wait(const user_wait&) = delete;
  user_wait& operator=(const user_wait&) = delete;
};

void timer_init(const char* const* labels);  // zero the totals, mark now
void timer_switch(int k);                    // out-of-range k charges nothing
int timer_mark();                            // returns the current category
void timer_report();                         // one sim_printf line per non-zero total

void stopwatch_start();
void stopwatch_stop();
std::uint64_t stopwatch_elapsed();           // stop - start, in ms

// Whole seconds, a point and three digits of milliseconds: 1005 -> "1.005".
str ms_to_text(std::uint64_t ms);
