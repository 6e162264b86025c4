// A plain driver for a fuzz target: feeds every file of the folders (or the
// files) named on the command line to LLVMFuzzerTestOneInput, once each, in
// name order. Built with the normal compiler and registered in CTest, so every
// test run replays the seeds and the regression inputs without libFuzzer.
//
//   usage: <target>_replay <folder or file>...
//
// A folder that does not exist is skipped (a target may have no regression
// inputs yet); finding no input at all is a failure.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> InputsIn(const fs::path& place) {
    std::vector<fs::path> inputs;
    std::error_code ec;
    if (fs::is_directory(place, ec)) {
        for (const fs::directory_entry& e : fs::directory_iterator(place))
            if (e.is_regular_file()) inputs.push_back(e.path());
        std::sort(inputs.begin(), inputs.end());
    } else if (fs::is_regular_file(place, ec)) {
        inputs.push_back(place);
    } else {
        std::printf("skipped (not there): %s\n", place.string().c_str());
    }
    return inputs;
}

std::vector<std::uint8_t> Bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

int main(int argc, char** argv) {
    int replayed = 0;
    for (int a = 1; a < argc; ++a) {
        for (const fs::path& file : InputsIn(argv[a])) {
            const std::vector<std::uint8_t> bytes = Bytes(file);
            std::printf("replaying %s (%zu bytes)\n", file.string().c_str(), bytes.size());
            std::fflush(stdout);
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++replayed;
        }
    }
    std::printf("%d inputs replayed\n", replayed);
    return replayed > 0 ? 0 : 1;
}
