// Replays a fuzz target's seed corpus as an ordinary test: every file in the folder given
// on the command line is handed to the target once.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    int n = 0;
    std::error_code ec;
    for (const auto& e : std::filesystem::recursive_directory_iterator(argv[1], ec)) {
        if (!e.is_regular_file()) continue;
        std::ifstream in(e.path(), std::ios::binary);
        std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
        ++n;
    }
    std::printf("replayed %d inputs\n", n);
    return n > 0 ? 0 : 1;
}
