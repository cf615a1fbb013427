// A scoped working folder for tests that read or write files in the current folder.
//
// Each test runs in its own process under CTest, possibly in parallel with others,
// so every test that touches "stdout.out", netlists or result files first enters a
// fresh folder of its own:
//     TempDir dir;                 // creates /tmp/zorv-XXXXXX and chdirs into it
//     ... write and read files ...
//                                  // destructor returns to the old folder and removes it
#pragma once
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <cstdlib>

class TempDir {
public:
  TempDir() : old_(std::filesystem::current_path()) {
    std::string tmpl = (std::filesystem::temp_directory_path() / "zorv-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
    std::filesystem::current_path(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::current_path(old_, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }

private:
  std::filesystem::path old_;
  std::filesystem::path path_;
};

// Whole contents of a file as bytes; empty when it cannot be opened.
inline std::string slurp(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
