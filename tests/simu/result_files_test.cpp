// The result files of a run on a full disk (the simu program under a file-size limit):
// the run ends with exit 1 and its message, which gives the system's reason (a file-size
// limit is no full disk), the files of the previous run stay as they were and no
// temporary is left behind.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/socket.h>
#include <sys/sysmacros.h>
#include <sys/un.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "buck_netlist.h"
#include "common/temp_dir.h"
#include "common/text_file.h"
#include "driver_run.h"
#include "name_seams.h"
#include "simu/base/atomic_file.h"
#include "simu_program.h"

namespace {

std::map<std::string, std::string> folder_files() {
  std::map<std::string, std::string> files;
  for (const auto& e : std::filesystem::directory_iterator("."))
    files[e.path().filename().string()] = slurp(e.path().string());
  return files;
}

std::string rc_netlist(const char* source) {
  return netlist_of("tsim = 1e-3\ntd = 1e-6\npoints = 100\n",
                    {std::string(source) + " 1 0 10", "R1 1 2 1e3", "C1 2 0 1e-6", "I01 2 0 0"}, {"V I01|Vc"}, 3);
}

}  // namespace

TEST(ResultFiles, AFullDiskKeepsThePreviousFilesAndLeavesNoTemporary) {
  const std::string buck = buck_netlist_text("2.0000e-03", "1.0000e-07", "5000");
  const struct {
    const char* file;                 // the file whose writing fails
    std::string first, second;        // the netlist of the good run, then of the failing one
    std::vector<std::string> good, full;   // their options
    rlim_t limit;                     // the bytes a file may hold in the failing run
    std::string message;
    const char* completed = "";       // written in full before the failure
  } rows[] = {
      // 100 rows of the table do not fit in 2 kB.
      {"a.plt", rc_netlist("V1"), rc_netlist("V1"), {"-points", "10"}, {}, 2048, "Fatal Error : write() - File too large!"},
      // The table of one point (99 bytes) fits, the state file (116 bytes) does not.
      {"a.ini", rc_netlist("V1"), rc_netlist("V1"), {}, {"-points", "1", "-tsim", "2e-3"}, 108,
       "\nFatal Error : save_ini() - can't write to disk file \"a.ini\": File too large. The result table \"a.plt\" "
       "was written; the state file was not.\n",
       "a.plt"},
      // The report (405 bytes) is written when the steady state is reached, before the
      // table of the first microsecond (161 bytes) is complete.
      {"a.seq", buck, buck, {"-ss", "-sstol_f", "1e-5"}, {"-ss", "-finish_si", "1e-6"}, 300,
       "Fatal Error : write_seq_file(  ) - File too large!"},
      {"src.dat", rc_netlist("V1"), rc_netlist("V2"), {}, {}, 2, "\nError creating src.dat: File too large!\n"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.file);
    TempDir dir;
    write_text("a.m", r.first);
    std::vector<std::string> words = r.good;
    words.insert(words.end(), {"a.m", "a.plt"});
    ASSERT_NE(run_simu_program(words).exit_code, 1);
    write_text("a.m", r.second);
    std::map<std::string, std::string> before = folder_files();
    ASSERT_EQ(before.count(r.file), 1u);
    words = r.full;
    words.insert(words.end(), {"a.m", "a.plt"});
    const program_run run = run_simu_program(words, {0, r.limit});
    EXPECT_EQ(run.exit_code, 1) << run.output;
    EXPECT_NE(run.output.find(r.message), std::string::npos) << run.output;
    std::map<std::string, std::string> after = folder_files();
    if (*r.completed) {   // the new table, to its last row: Vc(2 ms) = 10 V (1 - exp(-2))
      const std::string last = " 2.00000000E-03  8.646647E+00\n", table = after[r.completed];
      EXPECT_EQ(table.substr(table.size() - std::min(table.size(), last.size())), last);
      after[r.completed] = before[r.completed];
    }
    EXPECT_EQ(after, before);   // nothing changed, nothing added
  }
}

namespace {

// The marked temporaries of the folder whose names begin with prefix.
std::vector<std::string> temporaries(const std::string& prefix = ".", const std::string& folder = ".") {
  std::vector<std::string> found;
  for (const auto& e : std::filesystem::directory_iterator(folder)) {
    const std::string name = e.path().filename().string();
    if (name.rfind(prefix, 0) == 0 && name.find(".~zorv-tmp.") != std::string::npos) found.push_back(name);
  }
  std::sort(found.begin(), found.end());
  return found;
}

// Waits (at most a minute) until a run has made a temporary for its table in folder
// other than those in known; false when none came.
bool table_begun(const std::vector<std::string>& known = {}, const std::string& folder = ".") {
  for (int i = 0; i < 60000; ++i) {
    for (const std::string& t : temporaries(".a.plt.", folder))
      if (std::find(known.begin(), known.end(), t) == known.end()) return true;
    ::usleep(1000);
  }
  return false;
}

// The table's last line.
std::string last_line(const std::string& file) {
  const std::string text = slurp(file);
  const std::size_t end = text.size() > 0 ? text.size() - 1 : 0;
  return text.substr(text.rfind('\n', end > 0 ? end - 1 : 0) + 1);
}

}  // namespace

TEST(ResultFiles, TwoRunsToOneTableBothEndWholeAndTheLastToFinishWins) {
  TempDir dir;
  write_text("a.m", rc_netlist("V1"));
  // A user's own hidden files, and a temporary that another run is writing (its lock
  // held here): all stay. A temporary whose lock is free was abandoned: it goes.
  const std::string busy = ".a.plt.~zorv-tmp.Busy01", gone = ".a.plt.~zorv-tmp.Gone01";
  const std::vector<std::string> kept = {".a.plt.backup", ".a.ini.before", ".states.dat.backup", ".a.plt.Ab12Cd", busy};
  for (const std::string& f : kept) write_text(f, "mine");
  write_text(gone, "abandoned");
  const int lock = ::open(busy.c_str(), O_RDONLY);
  ASSERT_EQ(::flock(lock, LOCK_EX), 0);
  // A long run is held once its table is begun, while a short run to the same table
  // runs to its end; then the long run ends too, last.
  const pid_t long_run = start_simu_program({"-tsim", "200", "-td", "1e-5", "a.m", "a.plt"});
  ASSERT_TRUE(table_begun({busy, gone}));
  ::kill(long_run, SIGSTOP);
  const program_run short_run = run_simu_program({"a.m", "a.plt"});
  EXPECT_EQ(short_run.exit_code, 0) << short_run.output;
  EXPECT_EQ(last_line("a.plt"), " 1.00000000E-03  6.321206E+00\n");   // 10 V (1 - exp(-1))
  ::kill(long_run, SIGCONT);
  EXPECT_EQ(wait_simu_program(long_run), 0);
  EXPECT_EQ(last_line("a.plt"), " 2.00000000E+02  1.000000E+01\n");
  ::close(lock);
  EXPECT_EQ(temporaries(), std::vector<std::string>{busy});
  for (const std::string& f : kept) EXPECT_EQ(slurp(f), "mine") << f;
}

TEST(ResultFiles, ASignalMidRunRemovesTheTemporariesAndEndsTheRunAsTheSignalDoes) {
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
    SCOPED_TRACE(sig);
    TempDir dir;
    write_text("a.m", rc_netlist("V1"));
    ASSERT_EQ(run_simu_program({"a.m", "a.plt"}).exit_code, 0);
    const std::map<std::string, std::string> before = folder_files();
    const pid_t run = start_simu_program({"-tsim", "1e6", "-td", "1e-5", "a.m", "a.plt"}, "../run.txt");
    ASSERT_TRUE(table_begun());
    ::kill(run, sig);
    EXPECT_EQ(wait_simu_program(run), 128 + sig);
    EXPECT_EQ(folder_files(), before);   // no temporary left, the earlier table intact
    std::filesystem::remove("../run.txt");
  }
}

// What a run makes of the files it is given: long table names, the state file named
// after the whole netlist name; a pipe (never blocking the run), a folder or a read-only
// file in a file's place is refused with its reason, before the run when it is the
// state file or the report. No temporary is ever left.
TEST(ResultFiles, EachFileOfARunIsWrittenOrRefusedWithItsReason) {
  const std::string t248 = std::string(244, 't') + ".plt", t255 = std::string(251, 't') + ".plt";
  const std::string no_reader = " is a pipe that no process reads",
                    no_ini = ". The result table \"a.plt\" was written; the state file was not.\n",
                    before_run = ". Run refused, nothing written.\n";
  const struct {
    std::vector<std::string> words;   // the netlist and the table last
    int exit_code;
    std::string message;
    std::vector<std::string> written = {}, not_written = {};
    const char *pipe = "", *folder = "";   // made in a file's place
    bool errors_only = false;              // the message is looked for on the error stream alone
    const char *read_only = "", *null_link = "";   // a file made read-only; a link to /dev/null
  } rows[] = {
      {{"a.m", t248}, 0, "", {t248, "a.ini"}},
      {{"a.m", t255}, 0, "", {t255, "a.ini"}},
      {{"-ss", "proj/a", "t.plt"}, 0, "Steady state reached", {"proj/a.ini", "proj/a.seq"}, {"proj.ini", "proj.seq"}},
      {{"n.net", "t.plt"}, 0, "", {"t.plt", "n.net.ini"}, {"n.ini"}},
      // The kernel's link to the pipe the output goes to.
      {{"a.m", "/dev/stdout"}, 0, "\nTime Vc \n 0.00000000E+00  0.000000E+00\n", {"a.ini"}},
      // Known before the run: nothing is written.
      {{"a.m", "a.plt"}, 1, "can't write to disk file \"a.ini\": Is a directory" + before_run, {}, {"a.plt", "src.dat"},
       "", "a.ini"},
      {{"a.m", "a.plt"}, 1, "can't write to disk file \"a.ini\": Permission denied" + before_run, {}, {"a.plt"}, "", "",
       false, "a.ini"},
      {{"-ss", "proj/a", "t.plt"}, 1, "can't write to disk file \"proj/a.seq\": Is a directory" + before_run, {},
       {"t.plt", "proj/a.ini"}, "", "proj/a.seq"},
      // A circuit without switches, or a transient run, writes no report; a link to
      // /dev/null is written through.
      {{"a.m", "a.plt"}, 0, "", {"a.plt", "a.ini"}, {}, "", "a.seq"},
      {{"-sv", "proj/a", "t.plt"}, 0, "", {"t.plt", "proj/a.ini"}, {}, "", "proj/a.seq"},
      {{"a.m", "a.plt"}, 0, "", {"a.plt"}, {}, "", "", false, "", "a.ini"},
      {{"a.m", "a.plt"}, 1, "\nError creating src.dat: \"src.dat\"" + no_reader + "\n", {}, {}, "src.dat"},
      {{"a.m", "a.plt"}, 1, "\nCan't open states.dat file: \"states.dat\"" + no_reader + "\n", {}, {}, "states.dat"},
      {{"a.m", "a.plt"}, 1, "Fatal Error : write() - can't write to disk file! \"a.plt\"" + no_reader, {}, {}, "a.plt"},
      // On a line of its own, not on the question's.
      {{"-ld", "a.m", "a.plt"}, 1, "(y/n) \nFatal Error : load_ini() - state file \"a.ini\" is not a regular file!", {}, {},
       "a.ini", "", true},
      {{"a.m", "a.plt"}, 1, "Fatal Error : save_ini() - can't write to disk file \"a.ini\": \"a.ini\"" + no_reader + no_ini,
       {"a.plt"}, {}, "a.ini"},
  };
  for (const auto& r : rows) {
    const std::string &netlist = r.words[r.words.size() - 2], &table = r.words.back();
    SCOPED_TRACE(netlist + " " + table.substr(0, 20) + " " + r.pipe + r.folder + r.read_only + r.null_link);
    if (*r.read_only && ::geteuid() == 0) {
      std::printf("skipped: root writes a read-only %s anyway\n", r.read_only);
      continue;
    }
    TempDir dir;
    std::filesystem::create_directory("proj");
    ASSERT_TRUE(!*r.pipe || ::mkfifo(r.pipe, 0600) == 0);
    if (*r.folder) std::filesystem::create_directory(r.folder);
    if (*r.read_only) {
      write_text(r.read_only, "old");
      ASSERT_EQ(::chmod(r.read_only, 0444), 0);
    }
    if (*r.null_link) std::filesystem::create_symlink("/dev/null", r.null_link);
    // The buck reaches its steady state (a report), the RC circuit ends at 1 ms.
    const bool buck = netlist == "proj/a";
    write_text(netlist, buck ? buck_netlist_text("2.0000e-03", "1.0000e-07", "50") : rc_netlist("V1"));
    // Ends within its alarm, or fails.
    const program_run run = run_simu_program(r.words, {0, 0, 0, r.errors_only});
    EXPECT_EQ(run.exit_code, r.exit_code) << run.output;
    EXPECT_NE(run.output.find(r.message), std::string::npos) << run.output;
    for (const std::string& f : r.written) EXPECT_TRUE(std::filesystem::is_regular_file(f)) << f;
    for (const std::string& f : r.not_written) EXPECT_FALSE(std::filesystem::exists(f)) << f;
    if (*r.read_only) {
      EXPECT_EQ(slurp(r.read_only), "old");
    }
    if (*r.null_link) {
      EXPECT_TRUE(std::filesystem::is_symlink(r.null_link));
    }
    if (!buck && !r.written.empty() && table != "/dev/stdout") {
      EXPECT_EQ(last_line(table), " 1.00000000E-03  6.321206E+00\n");
    }
    EXPECT_EQ(temporaries(), std::vector<std::string>{});
  }
}

// A state file that no run could write is refused before the run, not found after it: a
// socket at its name, or a folder so deep that the temporary beside it passes PATH_MAX.
TEST(ResultFiles, AStateFileThatCouldNeverBeWrittenIsRefusedBeforeTheRun) {
  std::string deep = std::string(254, 'd');
  for (int i = 1; i < 16; ++i) deep += "/" + std::string(254, 'd');   // 4079 bytes
  const struct { std::string folder; bool socket; std::string reason; } rows[] = {
      {".", true, "\"./a.ini\" is a socket, which takes no file; not written"},
      {deep, false, "File name too long"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.reason);
    TempDir dir;
    std::filesystem::create_directories(r.folder);
    const std::string netlist = r.folder + "/a.m", state = r.folder + "/a.ini";
    write_text(netlist, rc_netlist("V1"));
    if (r.socket) {
      const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
      sockaddr_un at{};
      at.sun_family = AF_UNIX;
      std::snprintf(at.sun_path, sizeof at.sun_path, "%s", state.c_str());
      ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&at), sizeof at), 0);
      ::close(s);
    }
    const program_run run = run_simu_program({netlist, "t.plt"});
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.output.find("can't write to disk file \"" + state + "\": " + r.reason + ". Run refused, nothing written.\n"),
              std::string::npos) << run.output.substr(run.output.size() > 400 ? run.output.size() - 400 : 0);
    EXPECT_FALSE(std::filesystem::exists("t.plt"));
    EXPECT_FALSE(std::filesystem::exists("src.dat"));
  }
}

// A link in a shared folder, or another user's file (or a hard link to one) there that
// the rename could not replace, or another user's pipe or device there: refused when the
// file is opened, with its name; at the state file, before the run, and no table is
// written. A replaced file passes on its permission bits alone, and only to a file of
// its owner's.
TEST(ResultFiles, ALinkInASharedFolderIsFollowedOnlyWhenItIsOursOrTheFolderOwners) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root makes a link of another user";
  const uid_t other = 4242, user = 4343;
  const std::string refused =
      "\" is a link of another user in a shared folder (not yours, not the folder owner's); not followed";
  const std::string not_replaced =
      "\" is a file of another user in a shared folder (not yours, not the folder owner's); not replaced";
  const std::string pipe_refused =
      "\" is a pipe of another user in a shared folder (not yours, not the folder owner's); not written";
  const std::string device_refused =
      "\" is a device of another user in a shared folder (not yours, not the folder owner's); not written";
  const std::string ini_refused = "can't write to disk file \"shared/a.ini\": \"shared/a.ini",
                    before_run = ". Run refused, nothing written.\n";
  enum kind { symbolic, hard, file, pipe, device };
  const struct {
    const char* link;
    uid_t link_owner, folder_owner;
    std::string message;   // none: followed
    kind made = symbolic;
    uid_t runner = 0;      // the user who runs the program
    mode_t mode = 0666;    // of the file made
    mode_t result_mode = 0;   // of the file written in its place (umask 022); 0: not looked at
  } rows[] = {
      {"a.plt", 0, 0, ""},
      {"a.plt", other, 0, "can't write to disk file! \"shared/a.plt" + refused},
      {"a.plt", other, other, ""},
      {"a.ini", other, 0, ini_refused + refused + before_run},
      {"a.ini", 0, other, ""},
      {"a.plt", other, 0, "can't write to disk file! \"shared/a.plt" + not_replaced, file, user},
      {"a.plt", other, 0, "can't write to disk file! \"shared/a.plt" + not_replaced, hard, user},
      {"a.ini", other, 0, ini_refused + not_replaced + before_run, file, user},
      {"a.ini", other, 0, "", file},   // root replaces it
      {"a.plt", user, 0, "", file, user, 0666, 0666},
      {"a.plt", other, user, "", file, user, 0666, 0644},
      {"a.plt", other, 0, "", file, 0, 0666, 0644},   // root replaces anyone's file
      // Never setuid, setgid or sticky, and never another user's bits.
      {"a.plt", other, 0, "", file, 0, 04777, 0644},
      {"a.plt", 0, 0, "", file, 0, 07777, 0777},
      {"a.plt", user, 0, "", file, user, 02770, 0770},
      // Another user's pipe or device would catch (or, unread, block) the results: refused,
      // to root too; the folder owner's and one's own are written.
      {"a.plt", other, 0, "can't write to disk file! \"shared/a.plt" + pipe_refused, pipe},
      {"a.plt", other, 0, "can't write to disk file! \"shared/a.plt" + pipe_refused, pipe, user},
      {"a.ini", other, 0, ini_refused + pipe_refused + before_run, pipe},
      {"a.ini", other, 0, ini_refused + pipe_refused + before_run, pipe, user},
      {"a.ini", other, other, "", pipe},
      {"a.ini", user, 0, "", pipe, user},
      {"a.plt", other, other, "", pipe},
      {"a.plt", user, 0, "", pipe, user},
      {"a.plt", other, 0, "can't write to disk file! \"shared/a.plt" + device_refused, device},
      {"a.plt", 0, 0, "", device},
      {"a.ini", other, 0, ini_refused + device_refused + before_run, device},
      {"a.ini", 0, 0, "", device},
  };
  // The build may lie where other users cannot enter.
  const std::string program = simu_for_any_user();
  ASSERT_FALSE(program.empty());
  const mode_t umask_before = ::umask(022);
  for (const auto& r : rows) {
    const std::string link = std::string("shared/") + r.link;
    SCOPED_TRACE(link + " (" + std::to_string(r.made) + ") of " + std::to_string(r.link_owner) + " in a folder of " +
                 std::to_string(r.folder_owner) + " run by " + std::to_string(r.runner));
    TempDir dir;
    if (r.runner != 0 && !runs_as(r.runner, program)) {
      std::printf("skipped: user %u cannot start %s (a temporary folder closed to other users)\n",
                  static_cast<unsigned>(r.runner), program.c_str());
      continue;
    }
    ASSERT_EQ(::chmod(".", 0777), 0);   // src.dat and states.dat are written here
    std::filesystem::create_directory("shared");
    ASSERT_EQ(::chmod("shared", 01777), 0);
    ASSERT_EQ(::chown("shared", r.folder_owner, r.folder_owner), 0);
    write_text("shared/a.m", rc_netlist("V1"));
    write_text("kept.txt", "mine");
    // What must stay "mine" when the name is refused: the link's target, or the file itself.
    const std::string victim = r.made == symbolic ? "kept.txt" : link;
    int reader = -1;   // of the pipe
    if (r.made == symbolic) {
      std::filesystem::create_symlink("../kept.txt", link);
      ASSERT_EQ(::lchown(link.c_str(), r.link_owner, r.link_owner), 0);
    } else {
      if (r.made == hard) std::filesystem::create_hard_link("kept.txt", link);
      if (r.made == file) write_text(link, "mine");
      if (r.made == pipe || r.made == device) {
        const mode_t made = r.made == pipe ? S_IFIFO : S_IFCHR;
        ASSERT_EQ(::mknod(link.c_str(), made | 0600, r.made == device ? makedev(1, 3) : 0), 0);   // a null device
      }
      ASSERT_EQ(::chown(link.c_str(), r.link_owner, r.link_owner), 0);
      ASSERT_EQ(::chmod(link.c_str(), r.mode), 0);
      if (r.made == pipe) reader = ::open(link.c_str(), O_RDONLY | O_NONBLOCK);
    }
    const program_run run = run_simu_program({"shared/a.m", "shared/a.plt"}, {0, 0, r.runner, false, program.c_str()});
    EXPECT_EQ(std::filesystem::is_symlink(link), r.made == symbolic);
    EXPECT_EQ(run.exit_code, r.message.empty() ? 0 : 1) << run.output;
    EXPECT_NE(run.output.find(r.message), std::string::npos) << run.output;
    // The table's header, or the state file's first line: the final time.
    const bool table = std::string(r.link) == "a.plt";
    if (r.made == pipe) {
      char got[4096] = {};
      const ssize_t n = ::read(reader, got, sizeof got - 1);
      const char* head = table ? "Time " : "1.0000000000000000e-03\n";
      EXPECT_EQ(n > 0 && std::string(got).rfind(head, 0) == 0, r.message.empty()) << got;
      ::close(reader);
    } else if (r.made != device) {
      EXPECT_EQ(slurp(victim) == "mine", !r.message.empty());
    }
    if (r.result_mode) {
      struct stat st;
      ASSERT_EQ(::lstat(link.c_str(), &st), 0);
      EXPECT_EQ(st.st_mode & 07777, r.result_mode);
      EXPECT_EQ(st.st_uid, r.runner);
    }
    if (!r.message.empty()) {
      EXPECT_EQ(run.output.find("Operation not permitted"), std::string::npos) << run.output;
    }
    if (!table) {
      EXPECT_EQ(std::filesystem::exists("shared/a.plt"), r.message.empty());
    }
    EXPECT_EQ(temporaries(".", "shared"), std::vector<std::string>{});
  }
  ::umask(umask_before);
}

// A name that another user takes in a shared folder while the run writes its table: the
// rename at the end fails, and the message names the file and the rename; the other
// user's file stays and no temporary is left.
TEST(ResultFiles, ANameTakenByAnotherUserDuringTheRunIsNamedWithTheRenameThatFailed) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root runs the program as one user and takes the name as another";
  const uid_t other = 4242, user = 4343;
  const std::string program = simu_for_any_user();
  TempDir dir;
  if (!runs_as(user, program)) GTEST_SKIP() << "user " << user << " cannot start " << program;
  ASSERT_EQ(::chmod(".", 0777), 0);
  std::filesystem::create_directory("shared");
  ASSERT_EQ(::chmod("shared", 01777), 0);
  write_text("shared/a.m", rc_netlist("V1"));
  const pid_t run = start_simu_program({"-tsim", "200", "-td", "1e-5", "shared/a.m", "shared/a.plt"}, "run.txt",
                                       {0, 0, user, false, program.c_str()});
  ASSERT_TRUE(table_begun({}, "shared"));
  ::kill(run, SIGSTOP);
  write_text("shared/a.plt", "theirs");
  ASSERT_EQ(::chown("shared/a.plt", other, other), 0);
  ::kill(run, SIGCONT);
  EXPECT_EQ(wait_simu_program(run), 1);
  const std::string message =
      "Fatal Error : write() - can't rename the finished file to \"shared/a.plt\": Operation not permitted!";
  EXPECT_NE(slurp("run.txt").find(message), std::string::npos) << slurp("run.txt");
  EXPECT_EQ(slurp("shared/a.plt"), "theirs");
  EXPECT_EQ(temporaries(".", "shared"), std::vector<std::string>{});
}

// A pipe in a result's place is written in place, but only while it is the pipe that was
// checked: swapped between the check and the open for a link, a file or another pipe,
// the name is refused and what it now names is left as it was.
TEST(AtomicFile, ANameSwappedBetweenTheCheckAndTheOpenIsRefused) {
  const std::string replaced = "\"a.plt\" was replaced while it was opened; not written";
  const struct {
    const char* swapped_in;   // none: the pipe stays
    std::string why;
  } rows[] = {{"", ""}, {"link", replaced}, {"file", replaced}, {"pipe", replaced}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.swapped_in);
    TempDir dir;
    write_text("victim", "precious");
    ASSERT_EQ(::mkfifo("a.plt", 0600), 0);
    const int reader = ::open("a.plt", O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const std::string made = r.swapped_in;
    if (made == "link") std::filesystem::create_symlink("victim", "swap");
    if (made == "file") std::filesystem::create_hard_link("victim", "swap");
    if (made == "pipe") {
      ASSERT_EQ(::mkfifo("swap", 0600), 0);
    }
    const int other_reader = made == "pipe" ? ::open("swap", O_RDONLY | O_NONBLOCK) : -1;
    if (!made.empty()) swap_at_open("a.plt", "swap");
    atomic_file f;
    const bool opened = f.open("a.plt");
    disarm_name_seams();
    EXPECT_EQ(opened, r.why.empty());
    EXPECT_EQ(f.refused() ? f.why() : "", r.why);
    if (opened) {
      ASSERT_GE(std::fputs("row\n", f.file()), 0);
      ASSERT_TRUE(f.commit());
      char got[8] = {};
      EXPECT_EQ(::read(reader, got, sizeof got), 4);
      EXPECT_STREQ(got, "row\n");
    }
    EXPECT_EQ(slurp("victim"), "precious");
    EXPECT_EQ(temporaries(), std::vector<std::string>{});
    ::close(reader);
    if (other_reader >= 0) ::close(other_reader);
  }
}

// A name found absent is made through the temporary and the rename: a link that appears
// there meanwhile (to a pipe someone reads, say) is replaced, never written through. Only
// the kernel's link to a pipe (/proc/self/fd/N, what /dev/stdout is) is followed.
TEST(AtomicFile, ANameFoundAbsentIsMadeAnewWhateverLinkAppearsThere) {
  const struct {
    const char* name;           // "": /proc/self/fd/N of a pipe read here
    bool race;                  // a link to the victim appears at the name
    lookup when = lookup::after_absent_lstat;
  } rows[] = {
      {"a.plt", true, lookup::after_absent_lstat},
      {"a.plt", true, lookup::before_stat},
      {"a.plt", false},
      {"", false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(std::string(r.name) + (r.race ? " raced at " + std::to_string(static_cast<int>(r.when)) : ""));
    TempDir dir;
    ASSERT_EQ(::mkfifo("victim", 0600), 0);
    const int victim = ::open("victim", O_RDONLY | O_NONBLOCK);   // held open: a write would not fail
    int pipe_fds[2];
    ASSERT_EQ(::pipe2(pipe_fds, O_NONBLOCK), 0);
    const std::string name = *r.name ? r.name : "/proc/self/fd/" + std::to_string(pipe_fds[1]);
    if (r.race) link_at_lookup(name, "victim", r.when);
    atomic_file f;
    const bool opened = f.open(name);
    disarm_name_seams();
    ASSERT_TRUE(opened) << f.why();
    ASSERT_GE(std::fputs("row\n", f.file()), 0);
    ASSERT_TRUE(f.commit()) << f.failure_text();
    char got[8] = {};
    EXPECT_LE(::read(victim, got, sizeof got), 0);
    if (*r.name) {
      // Read only as a file: opening a pipe here would wait for a writer.
      const bool file = std::filesystem::is_regular_file(std::filesystem::symlink_status(name));
      EXPECT_TRUE(file);
      EXPECT_EQ(file ? slurp(name) : "", "row\n");
    } else {
      EXPECT_EQ(::read(pipe_fds[0], got, sizeof got), 4);
      EXPECT_STREQ(got, "row\n");
    }
    EXPECT_EQ(temporaries(), std::vector<std::string>{});
    for (int fd : {victim, pipe_fds[0], pipe_fds[1]}) ::close(fd);
  }
}

// What the editor relies on: its own cleanup runs on a signal once the temporaries are
// gone, and the process still ends by the signal.
TEST(AtomicFile, AHookAddedForTheSignalsRunsAfterTheTemporariesAreRemoved) {
  TempDir dir;
  write_text("undo.ckt", "snapshot");
  const pid_t child = ::fork();
  if (child == 0) {
    cleanup_on_signals([] { ::unlink("undo.ckt"); });
    atomic_file f;
    if (!f.open("a.ckt") || std::fputs("partial", f.file()) < 0) ::_exit(3);
    ::raise(SIGTERM);
    ::_exit(4);
  }
  EXPECT_EQ(wait_simu_program(child), 128 + SIGTERM);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 0);
}
