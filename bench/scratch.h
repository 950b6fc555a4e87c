#pragma once
// Where a benchmark plays the game's writing: in memory where the system has a memory file
// system (/dev/shm), since every file the game writes is synced to the disk and a disk's sync
// time says nothing about the code measured.
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

// The path of this run's folder of that name (not made yet).
inline std::filesystem::path MemoryFolder(const std::string& name) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
    return base / ("morvath-bench-" + name + "-" + std::to_string(::getpid()));
}
