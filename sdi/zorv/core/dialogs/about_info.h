// The two lines of the About box's "System Information" group.
//
// Figures are 64-bit kilobytes. Linux has no drive letters: the free space is that
// of the file system holding the current folder, named by that folder.
//     MemoryText(16318456)             == "16318456 KB"
//     DiskText(1048576, "/home/ann")   == "1048576 KB Free on /home/ann"
//     DiskText(std::nullopt, "/x")     == "Unavailable"
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace zorv {

std::string MemoryText(std::uint64_t totalKb);
std::string DiskText(std::optional<std::uint64_t> freeKb, const std::string& folder);

// Total physical memory, from sysinfo(2); nullopt when it cannot be read.
std::optional<std::uint64_t> TotalMemoryKb();
// Space available to the user on the file system of `folder`, from statvfs(3).
std::optional<std::uint64_t> FreeDiskKb(const std::string& folder);

}  // namespace zorv
