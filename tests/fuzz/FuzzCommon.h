// tests/fuzz/FuzzCommon.h: helpers shared by the fuzz targets: scratch files and file comparison.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace ravel::fuzz
{

/// A scratch path unique to this process, in memory-backed /dev/shm when it exists.
inline std::string ScratchPath(const std::string& stem, const std::string& ext)
{
    const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(dir) + "/ravel_fuzz_" + std::to_string(getpid()) + "_" + stem + ext;
}

inline void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr)
        __builtin_trap();
    if (size > 0 && std::fwrite(data, 1, size, f) != size)
        __builtin_trap();
    std::fclose(f);
}

inline std::vector<char> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

/// With RAVEL_FUZZ_KEEP set, copies two files that should have been equal to ./first and ./second
/// for a look at the difference. Returns false.
inline bool Keep(const std::string& a, const std::string& b)
{
    if (std::getenv("RAVEL_FUZZ_KEEP") != nullptr)
    {
        for (const auto& [from, to] :
             {std::pair{a, std::string("first")}, std::pair{b, std::string("second")}})
        {
            std::vector<char> bytes = ReadFile(from);
            std::ofstream(to, std::ios::binary)
                .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        }
    }
    return false;
}

/// Stops the run with a message when a round-trip property fails; libFuzzer saves the input.
inline void Check(bool ok, const char* what)
{
    if (!ok)
    {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        __builtin_trap();
    }
}

} // namespace ravel::fuzz
