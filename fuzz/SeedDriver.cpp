// SPDX-License-Identifier: GPL-3.0-or-later
// A fuzz target's entry point run over given files, without libFuzzer: what the test suite
// builds with the usual compiler, so a target that no longer builds, or that fails on one of its
// committed seeds, fails the suite. Folders are read file by file, in name order.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int *argc, char ***argv);

namespace {

std::vector<std::filesystem::path> inputsOf(const std::filesystem::path &given)
{
    if (!std::filesystem::is_directory(given))
        return {given};
    std::vector<std::filesystem::path> files;
    for (const auto &entry : std::filesystem::directory_iterator(given)) {
        if (entry.is_regular_file())
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

int main(int argc, char **argv)
{
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    int ran = 0;
    for (int i = 1; i < argc; ++i) {
        for (const std::filesystem::path &path : inputsOf(argv[i])) {
            std::ifstream file(path, std::ios::binary);
            if (!file) {
                std::fprintf(stderr, "cannot read %s\n", path.c_str());
                return 1;
            }
            const std::vector<char> bytes {std::istreambuf_iterator<char>(file), {}};
            std::printf("%s\n", path.c_str());
            std::fflush(stdout);
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
            ++ran;
        }
    }
    // A seed folder that lost its files tests nothing.
    if (ran == 0) {
        std::fprintf(stderr, "no inputs\n");
        return 1;
    }
    std::printf("%d inputs\n", ran);
    return 0;
}
