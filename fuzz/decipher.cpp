// Arbitrary bytes as the hall-of-fame file: the decipher and the envelope check must turn
// them down (or accept a well-formed envelope) without crashing. Random cipher text almost
// never survives the padding check, so the same bytes are also enciphered bare and handed to
// the envelope check as its plain text.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "services/crypto.h"
#include "services/file_cipher.h"

using namespace morvath;

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    {
        clsCrypto c;
        c.Password(kFilePassPhrase);
        c.InBuffer(bytes);
        Require(c.GeneratePasswordKey());
        bool ok = c.DecryptFileData();
        Require(ok ? c.OutBuffer().size() + 18 <= bytes.size() : c.OutBuffer().empty());
    }
    {
        clsCrypto c;
        c.Password(kFilePassPhrase);
        c.InBuffer(bytes);
        Require(c.GeneratePasswordKey());
        Require(c.EncryptMessageData());
        c.InBuffer(c.OutBuffer());
        // Only "16" + the data's own MD5 + the data is a valid envelope.
        bool valid = false;
        if (bytes.size() >= 18 && bytes.substr(0, 2) == "16") {
            valid = crypto_detail::Md5(bytes.substr(18)) == std::string(bytes.substr(2, 16));
        }
        bool ok = c.DecryptFileData();
        Require(ok == valid);
        Require(ok ? c.OutBuffer() == bytes.substr(18) : c.OutBuffer().empty());
    }
    return 0;
}
