// Arbitrary bytes as the hall-of-fame file, seen from the start menu: deciphering, setting a
// damaged file aside and listing must never crash, never leave a plain file behind, and list
// exactly the records the reader finds. Random bytes almost never decipher, so the same bytes
// are also wrapped in a valid envelope, and handed to the record reader bare.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unistd.h>

#include "game/hall_of_fame.h"
#include "services/crypto.h"
#include "services/file_cipher.h"
#include "world/game_state.h"

using namespace morvath;

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

// Kept alive past the static destructors, so that the exit handler can still remove it.
const fs::path& Folder() {
    static const fs::path* folder = [] {
        std::string pattern = (fs::temp_directory_path() / "morvath-fuzz-XXXXXX").string();
        Require(::mkdtemp(pattern.data()) != nullptr);
        auto* made = new fs::path(pattern);
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(Folder(), ec);
        });
        return made;
    }();
    return *folder;
}

std::string Envelope(std::string_view plain) {
    clsCrypto c;
    c.Password(kFilePassPhrase);
    c.InBuffer(plain);
    Require(c.HashFile() && c.GeneratePasswordKey() && c.EncryptFileData());
    return c.OutBuffer();
}

std::vector<std::wstring> Listed(const std::vector<HallOfFameRecord>& records) {
    std::vector<std::wstring> lines;
    for (const auto& r : records) {
        for (auto& l : ListLines(r)) lines.push_back(std::move(l));
    }
    return lines;
}

std::wstring Apostrophes(std::wstring s) {
    for (auto& c : s) {
        if (c == L'"') c = L'\'';
    }
    return s;
}

// Browses the hall of fame with `file` as \Hiscore; returns the list.
std::vector<std::wstring> Browse(const std::string& file) {
    fs::remove_all(Folder());
    fs::create_directories(Folder());
    Require(WriteFileAtomic(HiscorePath(), file));
    modVarsAndMain.hallOfFame.writehf = false;
    HallOfFame h;
    h.Open();
    Require(!h.Close());
    Require(h.List1.size() % 4 == 0);
    return h.List1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SetGameFolder(Folder());
    std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto records = ParseHallOfFame(bytes);

    // The reader's records are whole: written back, they read the same.
    std::string rewritten;
    for (const auto& r : records) rewritten += RecordLine(r);
    const auto again = ParseHallOfFame(rewritten);
    Require(again.size() == records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        HallOfFameRecord expected = records[i];
        expected.name = Apostrophes(expected.name);
        expected.cause = Apostrophes(expected.cause);
        expected.epitaph = Apostrophes(expected.epitaph);
        Require(again[i] == expected);
        Require(again[i].score >= 0 && again[i].score <= kMaxScore);
    }

    // The bytes as they stand on disk: either they decipher, or the file is set aside whole.
    Browse(bytes);
    if (!FileExists(HiscorePath())) Require(ReadBytes(Folder() / "Hiscore.bad") == bytes);
    else Require(ReadBytes(HiscorePath()) == bytes);

    // The bytes as the plain text of a valid file: listed exactly as the reader reads them,
    // and the file is left as it was.
    const std::string sealed = Envelope(bytes);
    Require(Browse(sealed) == Listed(records));
    Require(ReadBytes(HiscorePath()) == sealed);
    Require(!FileExists(Folder() / "Hiscore.bad"));
    return 0;
}
