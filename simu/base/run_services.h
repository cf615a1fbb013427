// Services of the application that the engine uses during a run: the progress bar,
// the poll for Esc, message boxes and the end-of-run report.
//
// main_window() is never null: until the application installs its own services it
// is a headless default (progress does nothing, the poll never sees Esc, boxes and
// the report are printed to the real console streams). All calls come from the
// thread that runs the engine, synchronously; a box blocks until dismissed.
//     set_main_window(&frame_services);   // the editor, at start-up
//     main_window().CreateProgressBar();  // range 0..50, step 1, position 0
//     if (main_window().poll_escape()) throw ...;
#pragma once

enum class box_style {
  plain,        // OK button, no icon (error_box, thrown texts)
  information,  // information icon (info_box, end-of-run report)
};

class run_services {
public:
  virtual ~run_services() = default;

  virtual void CreateProgressBar() {}
  virtual void StepProgressBar() {}     // calls beyond 50 steps are harmless
  virtual void DeleteProgressBar() {}   // without a bar: nothing
  // Removes at most one pending key event; true only for an Esc key-down.
  virtual bool poll_escape() { return false; }
  // Shows the text and returns the box's result (1 = OK).
  virtual int message_box(const char* text, box_style style);
  // The end-of-run report; secs is the total time already formatted ("1.005").
  virtual void simulation_done(const char* secs);
};

run_services& main_window();
// Installs the application's services; null restores the headless default.
void set_main_window(run_services* services);

// Installs services for one scope and puts back what was there before (tests).
class main_window_scope {
public:
  explicit main_window_scope(run_services& services);
  ~main_window_scope();
  main_window_scope(const main_window_scope&) = delete;
  main_window_scope& operator=(const main_window_scope&) = delete;

private:
  run_services* previous_;
};
