#include "simu/run_services.h"

#include <gtest/gtest.h>

#include "simu/messages.h"
#include "simu/recording_run_services.h"

TEST(RunServices, HeadlessDefaultIsNeverNull) {
  run_services& host = main_window();
  host.CreateProgressBar();
  for (int i = 0; i < 60; ++i) host.StepProgressBar();   // beyond 50 is harmless
  host.DeleteProgressBar();
  host.DeleteProgressBar();
  EXPECT_FALSE(host.poll_escape());
  set_main_window(nullptr);
  EXPECT_EQ(&main_window(), &host);
}

TEST(RunServices, HeadlessBoxesPrint) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(error_box("Close to Steady state!"), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Close to Steady state!\n");
  testing::internal::CaptureStdout();
  EXPECT_EQ(info_box("Simulation completed! Total simulation time = 1.005 secs."), 1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Simulation completed! Total simulation time = 1.005 secs.\n");
  testing::internal::CaptureStderr();
  main_window().message_box("Fatal Error : simu - can't simulate!\n", box_style::plain);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Fatal Error : simu - can't simulate!\n");
}

TEST(RunServices, HeadlessReportPrintsTheCompletionLine) {
  testing::internal::CaptureStdout();
  main_window().simulation_done("0.050");
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Simulation completed! Total simulation time = 0.050 secs.\n");
}

TEST(RunServices, ScopeInstallsAndRestores) {
  run_services* before = &main_window();
  recording_run_services host;
  {
    main_window_scope scope(host);
    EXPECT_EQ(&main_window(), &host);
  }
  EXPECT_EQ(&main_window(), before);
}

TEST(RecordingRunServices, CountsProgressOnlyWhileABarExists) {
  recording_run_services host;
  main_window_scope scope(host);
  main_window().StepProgressBar();
  main_window().CreateProgressBar();
  for (int i = 0; i < 50; ++i) main_window().StepProgressBar();
  main_window().DeleteProgressBar();
  main_window().StepProgressBar();
  EXPECT_EQ(host.creates, 1);
  EXPECT_EQ(host.steps, 50);
  EXPECT_EQ(host.deletes, 1);
  EXPECT_FALSE(host.bar);
}

TEST(RecordingRunServices, AnswersEscAtTheNthPoll) {
  recording_run_services host;
  host.escape_at_poll = 3;
  EXPECT_FALSE(host.poll_escape());
  EXPECT_FALSE(host.poll_escape());
  EXPECT_TRUE(host.poll_escape());
  EXPECT_FALSE(host.poll_escape());
  EXPECT_EQ(host.polls, 4);
}

TEST(RecordingRunServices, NeverEscByDefault) {
  recording_run_services host;
  for (int i = 0; i < 100; ++i) EXPECT_FALSE(host.poll_escape());
}

TEST(RecordingRunServices, RecordsEveryBoxAndReport) {
  recording_run_services host;
  main_window_scope scope(host);
  EXPECT_EQ(error_box("Initial condition does not exist!"), 0);
  host.box_result = 1;
  EXPECT_EQ(info_box("Newton:  Steady state reached!"), 1);
  main_window().simulation_done("1.005");
  ASSERT_EQ(host.boxes.size(), 2u);
  EXPECT_EQ(host.boxes[0].text, "Initial condition does not exist!");
  EXPECT_EQ(host.boxes[0].style, box_style::plain);
  EXPECT_EQ(host.boxes[1].text, "Newton:  Steady state reached!");
  EXPECT_EQ(host.boxes[1].style, box_style::information);
  ASSERT_EQ(host.reports.size(), 1u);
  EXPECT_EQ(host.reports[0], "1.005");
}

TEST(Messages, SimMessageShowsNothing) {
  recording_run_services host;
  main_window_scope scope(host);
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  sim_message("Sread Fatal Error : %s - %s\n", "undefined identifier", "foo");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_TRUE(host.boxes.empty());
  EXPECT_EQ(always_true(), 1);
}
