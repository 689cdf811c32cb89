#pragma once
// Shared pieces of the fuzz targets: the input as text, and a scratch folder for the
// readers that take a file.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace pw::fuzz {

inline std::string Text(const std::uint8_t* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

// A folder of this process, made once and removed at exit; files in it are rewritten by
// every input. (Never destroyed: the exit handler still needs it.)
inline const std::string& ScratchDir() {
    static const std::string& dir = *[] {
        const auto d = std::filesystem::temp_directory_path() / ("pw-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(d / "Set");
        std::filesystem::create_directories(d / "Ref");
        auto* path = new std::string(d.string() + "/");
        std::atexit([] { std::filesystem::remove_all(ScratchDir()); });
        return path;
    }();
    return dir;
}

inline std::string WriteScratch(const std::string& name, const std::string& content) {
    const std::string path = ScratchDir() + name;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
    return path;
}

}  // namespace pw::fuzz
