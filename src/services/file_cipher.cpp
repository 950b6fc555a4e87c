#include "services/file_cipher.h"

#include "services/crypto.h"

namespace morvath {
namespace {

// Feeds the whole file (whatever its size: the hall of fame grows by a record every run) to
// one cipher object, runs the direction's steps and puts the result in the file's place.
template <class Steps>
bool InPlace(const fs::path& path, Steps steps) {
    if (!FileExists(path)) return false;
    auto bytes = ReadBytes(path);
    if (!bytes) return false;
    clsCrypto crypto;
    crypto.InBuffer(*bytes);
    crypto.Password(kFilePassPhrase);
    if (!steps(crypto) || !crypto.DestroySessionKey()) return false;
    if (crypto.OutBuffer().empty()) {
        std::error_code ec;
        fs::remove(path, ec);
        return !ec;
    }
    return WriteFileAtomic(path, crypto.OutBuffer());
}

}  // namespace

bool DecryptFileInPlace(const fs::path& path) {
    return InPlace(path, [](clsCrypto& c) { return c.GeneratePasswordKey() && c.DecryptFileData(); });
}

bool EncryptFileInPlace(const fs::path& path) {
    return InPlace(path, [](clsCrypto& c) {
        return c.HashFile() && c.GeneratePasswordKey() && c.EncryptFileData();
    });
}

}  // namespace morvath
