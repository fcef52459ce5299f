// Replays a harness's seed corpus as an ordinary test: every file under the
// folders (or the files) named on the command line goes through
// LLVMFuzzerTestOneInput once. A crash or a sanitizer report fails the test.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace fs = std::filesystem;

static bool replay(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return false;
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // An empty vector's data() may be null; the fuzzer never passes null.
    static const uint8_t none = 0;
    LLVMFuzzerTestOneInput(bytes.empty() ? &none : bytes.data(), bytes.size());
    return true;
}

int main(int argc, char** argv)
{
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        const fs::path root(argv[i]);
        std::vector<fs::path> files;
        if (fs::is_directory(root)) {
            for (const auto& entry : fs::recursive_directory_iterator(root))
                if (entry.is_regular_file())
                    files.push_back(entry.path());
        } else {
            files.push_back(root);
        }
        std::sort(files.begin(), files.end());
        for (const auto& f : files) {
            if (!replay(f)) {
                std::fprintf(stderr, "cannot read %s\n", f.c_str());
                return 1;
            }
            ++replayed;
        }
    }
    std::printf("replayed %d inputs\n", replayed);
    return replayed > 0 ? 0 : 1;
}
