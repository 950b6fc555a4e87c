// Any bytes as the map archive: no crash, and nothing is written anywhere but the target
// folder, whatever the entry names say.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "services/compression.h"

using namespace morvath;

namespace {

// <temp>/morvath-fuzz-<pid>/work holds the archive and the target folder; an entry that got
// out would show up beside "work".
const fs::path& Base() {
    static const fs::path base = fs::temp_directory_path() / ("morvath-fuzz-" + std::to_string(::getpid()));
    return base;
}

void CheckOnlyInside(const fs::path& work) {
    for (const auto& e : fs::directory_iterator(Base())) {
        if (e.path() != work) std::abort();
    }
    for (const auto& e : fs::recursive_directory_iterator(work)) {
        fs::path rel = fs::relative(e.path(), work);
        if (rel == "data.uni" || rel == "saved") continue;
        if (rel.parent_path() != "saved" || !e.is_regular_file()) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path work = Base() / "work";
    std::error_code ec;
    fs::remove_all(Base(), ec);
    fs::create_directories(work / "saved");
    if (!WriteFileAtomic(work / "data.uni", std::string_view(reinterpret_cast<const char*>(data), size))) std::abort();
    clsCompresion c;
    c.ExtractAll(work / "data.uni", work / "saved");
    CheckOnlyInside(work);
    fs::remove_all(Base(), ec);
    return 0;
}
