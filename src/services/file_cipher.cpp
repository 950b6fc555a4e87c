#include "services/file_cipher.h"

#include "services/crypto.h"

namespace morvath {
namespace {

// Runs the direction's steps over the whole text (whatever its size: the hall of fame grows
// by a record every run) with one cipher object.
template <class Steps>
std::optional<std::string> Run(std::string_view bytes, Steps steps, clsCrypto::Voice voice = clsCrypto::Loud) {
    clsCrypto crypto(voice);
    crypto.InBuffer(bytes);
    crypto.Password(kFilePassPhrase);
    if (!steps(crypto) || !crypto.DestroySessionKey()) return std::nullopt;
    return crypto.OutBuffer();
}

bool Decrypt(clsCrypto& c) { return c.GeneratePasswordKey() && c.DecryptFileData(); }
bool Encrypt(clsCrypto& c) { return c.HashFile() && c.GeneratePasswordKey() && c.EncryptFileData(); }

// Puts the result of the direction's steps in the file's place.
template <class Steps>
bool InPlace(const fs::path& path, Steps steps) {
    if (!FileExists(path)) return false;
    auto bytes = ReadBytes(path);
    if (!bytes) return false;
    auto out = Run(*bytes, steps);
    if (!out) return false;
    if (out->empty()) return RemoveFile(path);
    return WriteFileAtomic(path, *out);
}

}  // namespace

std::optional<std::string> DecryptText(std::string_view enciphered) { return Run(enciphered, Decrypt, clsCrypto::Quiet); }
std::optional<std::string> EncryptText(std::string_view plain) { return Run(plain, Encrypt, clsCrypto::Quiet); }

bool DecryptFileInPlace(const fs::path& path) { return InPlace(path, Decrypt); }
bool EncryptFileInPlace(const fs::path& path) { return InPlace(path, Encrypt); }

}  // namespace morvath
