#include <gtest/gtest.h>

#include "platform/frontend.h"
#include "platform/random.h"
#include "services/crypto.h"
#include "services/file_cipher.h"
#include "test_support.h"

using namespace morvath;

namespace {

std::string Hex(std::string_view bytes) {
    std::string s;
    for (unsigned char b : bytes) s += {"0123456789abcdef"[b >> 4], "0123456789abcdef"[b & 15]};
    return s;
}

std::string RandomBytes(std::size_t n) {
    std::string s(n, '\0');
    for (auto& c : s) c = static_cast<char>(RandomInt(0, 256));
    return s;
}

// Without the envelope, the text is enciphered as a stranger's file would be.
std::string Encipher(std::string_view plain, bool envelope = true) {
    clsCrypto c;
    c.InBuffer(plain);
    c.Password(kFilePassPhrase);
    EXPECT_TRUE((!envelope || c.HashFile()) && c.GeneratePasswordKey() && (envelope ? c.EncryptFileData() && c.DestroySessionKey() : c.EncryptMessageData()));
    return c.OutBuffer();
}

std::pair<bool, std::string> Decipher(std::string_view cipher, std::wstring_view pass = kFilePassPhrase) {
    clsCrypto c;
    c.InBuffer(cipher);
    c.Password(pass);
    EXPECT_TRUE(c.GeneratePasswordKey());
    const bool ok = c.DecryptFileData();
    return {ok, c.OutBuffer()};
}

const std::wstring kCorrupted = L"MsgBox|Morvath|File has been corrupted since original encryption.";
const std::string kRecord = "\"Ivan\",0,12,3,\" was killed\",\"\"\r\n";

}  // namespace

// The platform provider's own conformance vector: a 40-bit key from an MD2 hash, salted with
// zeros to 16 bytes. Without the salt or with other effective bits the output differs, so
// this pins the parameters that make files from the original platform readable.
TEST(Cipher, ReproducesTheBaseProvidersCheckVector) {
    // The MD2 digest of the bytes 0, 1, ... 1999 taken modulo 256.
    const std::string key = crypto_detail::DeriveRc2Key("\xd5\xe1\xa7\xe9\xac\x38\xc1\x27\xf7\x73\x1d\xba\x81\x16\x98\xe0");
    const std::string plain("\0\1\2\3\4\5\6\7\10\11\12\13\14", 13);
    const auto out = crypto_detail::Rc2(key, plain, true).value_or("");
    EXPECT_EQ(std::pair(Hex(out), crypto_detail::Rc2(key, out, false)), std::pair(std::string("c09ae42f0a476711fb1887ce0c7507b1"), std::optional(plain)));
}

// A file written today must stay readable by every later build: any change to the key
// derivation, the envelope or the padding shows here. "16", the 16 digest bytes and the text, padded to whole blocks.
TEST(Cipher, EnvelopeOfAKnownTextIsStableAndTextsOfAnySizeRoundTrip) {
    ScriptedFrontend ui;
    EXPECT_EQ(Hex(Encipher(kRecord)), "3c302a140185868cea8db4935258c4fa5f0b08011b955d4a11e583f0fc03d11afa8c7a598ae56a1c0230fc96c3d64fece2d27e4fe7538f7a");
    SeedRandom(7);
    for (const std::string& plain : {std::string(), RandomBytes(40 * 1024 + 3)}) {
        const std::string cipher = Encipher(plain);
        EXPECT_EQ(std::tuple(cipher.size(), cipher.find(plain.substr(0, 64)) == std::string::npos || plain.empty(), Decipher(cipher)),
                  std::tuple((plain.size() + 18) / 8 * 8 + 8, true, std::pair(true, plain)));
    }
    EXPECT_TRUE(ui.log.empty());
}

// Any changed byte, a cut text or a wrong pass phrase: one box, and no plain text comes back.
TEST(Cipher, DamageOrAWrongPassPhraseFailsCleanly) {
    const std::string cipher = Encipher(kRecord);
    const std::wstring pass(kFilePassPhrase);
    std::vector<std::pair<std::string, std::wstring>> cases = {
        {cipher.substr(0, cipher.size() - 1), pass}, {cipher.substr(0, 8), pass}, {"", pass}, {cipher, L"Black Rain"},
        {cipher, L""}, {cipher, L"Чёрный Дождь"}, {cipher, pass.substr(0, 104) + L"!"}};
    for (std::size_t pos : {std::size_t{0}, std::size_t{17}, std::size_t{30}, cipher.size() - 9, cipher.size() - 1}) {
        for (int flip : {0x01, 0x80}) cases.push_back({cipher, pass}), cases.back().first[pos] ^= static_cast<char>(flip);
    }
    for (const auto& [text, phrase] : cases) {
        ScriptedFrontend ui;
        const auto [ok, out] = Decipher(text, phrase);
        // Either the padding shows the damage, or the digest does and nothing is returned.
        const bool decryptBox = ui.log.at(0).starts_with(L"MsgBox|VB Crypto|Error ") && ui.log[0].ends_with(L" during CryptDecrypt!");
        EXPECT_TRUE(ui.log.size() == 1 && !ok && out.find(kRecord) == std::string::npos && (decryptBox || (ui.log[0] == kCorrupted && out.empty()))) << ui.log[0];
    }
}

// Deciphered text that is no envelope: the first two characters are the digest's length and
// must be digits; a length running past the end is damage too.
TEST(Cipher, TextThatIsNoEnvelopeIsReportedAsCorrupted) {
    const std::string md5 = crypto_detail::Md5("data").value();
    for (const std::string& plain : {"xy" + md5 + "data", std::string("1"), std::string(""), "99" + md5 + "data", "+6" + md5 + "data", "08" + md5 + "data", "16" + md5 + "data"}) {
        ScriptedFrontend ui;
        const bool good = plain.starts_with("16");
        const auto d = Decipher(Encipher(plain, false));
        EXPECT_EQ(std::tuple(d, ui.log), std::tuple(std::pair(good, std::string(good ? "data" : "")), good ? std::vector<std::wstring>{} : std::vector{kCorrupted})) << plain;
    }
}

TEST(Cipher, StepsOutOfOrderFailWithTheirOwnBox) {
    ScriptedFrontend ui;
    clsCrypto c;
    c.InBuffer("text");
    EXPECT_FALSE(c.EncryptMessageData() || c.DecryptMessageData() || c.DestroySessionKey());
    EXPECT_EQ(ui.log.size(), 3u);
    EXPECT_TRUE(ui.log.at(0).ends_with(L" during CryptEncrypt!") && ui.log.at(1).ends_with(L" during CryptDecrypt!") &&
                ui.log.at(2) == L"MsgBox|VB Crypto|" + c.ErrorMsg() && c.ErrorMsg().ends_with(L" during CryptDestroyKey!"));
}

TEST(FileCipher, FilesRoundTripInPlaceAndWhatCannotBeDecipheredStays) {
    ScriptedFrontend ui;
    TempDir dir;
    const fs::path file = dir.path() / "Hiscore";
    std::string damaged = Encipher(kRecord);
    damaged[20] ^= 0x10;
    // Beyond sixteen bits of length, and nothing at all: an empty result removes the file. A
    // damaged or plain file stays as it was, with one box; a missing one stays missing.
    SeedRandom(3);
    struct Case { std::string content; bool encipher, missing; };
    for (const Case& c : {Case{RandomBytes(40000), true, false}, Case{"", true, false}, Case{damaged, false, false}, Case{kRecord, false, false}, Case{"", false, true}}) {
        const auto boxes = ui.log.size();
        ASSERT_TRUE((c.missing || WriteFileAtomic(file, c.content)) && (!c.encipher || EncryptFileInPlace(file)));
        const bool ok = DecryptFileInPlace(file);
        EXPECT_EQ(std::tuple(ok, ReadBytes(file), ui.log.size() - boxes),
                  std::tuple(c.encipher, c.content.empty() ? std::nullopt : std::optional(c.content), c.encipher || c.missing ? 0u : 1u));
        fs::remove(file);
    }
}
