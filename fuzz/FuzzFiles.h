#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

// Scratch files for harnesses whose reader takes a path. Each process gets a
// private folder, in memory where /dev/shm allows (a disk-backed folder makes
// the fuzzer wait on every input), removed with its contents at exit.
namespace fuzzfiles {

inline const std::string& folder()
{
    // Never destroyed: the clean-up at exit still needs it.
    static const std::string* path = [] {
        const bool shm = access("/dev/shm", W_OK) == 0;
        auto* pattern = new std::string(std::string(shm ? "/dev/shm" : "/tmp") + "/fuzz-XXXXXX");
        if (!mkdtemp(pattern->data()))
            std::abort();
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(folder(), ignored);
        });
        return pattern;
    }();
    return *path;
}

inline std::string path(const char* name)
{
    return folder() + "/" + name;
}

// Writes the input to a file for the reader; a failure here is the
// machine's, not the reader's, so it ends the run.
inline void write(const std::string& file, const uint8_t* data, size_t size)
{
    FILE* out = std::fopen(file.c_str(), "wb");
    if (!out || std::fwrite(data, 1, size, out) != size || std::fclose(out) != 0)
        std::abort();
}

}  // namespace fuzzfiles
