#pragma once
// The cipher of the hall-of-fame file. A text is wrapped in an envelope that carries its MD5
// digest ("16" + digest + text), so that a changed or damaged file is noticed on reading, and
// the envelope is enciphered whole with RC2.
//
// The parameters are those of the Windows base cryptographic provider the file format was
// born with: the session key is 40 bits of the pass phrase's MD5 followed by 11 zero bytes of
// salt (16 key bytes, 40 effective bits), CBC with a zero IV, PKCS#5 padding. RC2 lives
// only in OpenSSL's legacy provider, so the cipher loads the legacy and default providers
// into a library context of its own and leaves the process-wide one alone.
//
// Every failure is shown at once in a message box and the operation returns false; callers
// only look at the results. One object serves one file operation.
#include <optional>
#include <string>
#include <string_view>

namespace morvath {

namespace crypto_detail {
struct Provider;
}

class clsCrypto {
public:
    // A quiet cipher shows no box of its own: its user reports failures in its own words.
    enum Voice { Loud, Quiet };
    explicit clsCrypto(Voice voice = Loud);
    ~clsCrypto();
    clsCrypto(const clsCrypto&) = delete;
    clsCrypto& operator=(const clsCrypto&) = delete;

    // The pass phrase; hashed as Windows-1251 bytes.
    const std::wstring& Password() const { return password_; }
    void Password(std::wstring_view value) { password_ = value; }
    // Input and result are bytes, one char per byte.
    const std::string& InBuffer() const { return in_; }
    void InBuffer(std::string_view value) { in_ = value; }
    const std::string& OutBuffer() const { return out_; }
    const std::wstring& ErrorMsg() const { return errorMsg_; }

    // Derives the session key from the pass phrase.
    bool GeneratePasswordKey();
    // MD5 digest of InBuffer, kept for the envelope.
    bool HashFile();
    // Wraps InBuffer in the envelope (after HashFile) and enciphers it into OutBuffer.
    bool EncryptFileData();
    // Deciphers InBuffer and checks the envelope; OutBuffer is the text, or "" when the
    // digest does not match.
    bool DecryptFileData();
    bool EncryptMessageData();
    bool DecryptMessageData();
    bool DestroySessionKey();

private:
    bool Fail(std::wstring_view during);
    void ReportCorrupted();

    void Show(const std::wstring& text, const wchar_t* title) const;

    const crypto_detail::Provider* provider_ = nullptr;
    Voice voice_ = Loud;
    std::wstring password_;
    std::string in_;
    std::string out_;
    std::wstring errorMsg_;
    std::optional<std::string> sessionKey_;
    std::string digest_;
    long digestLength_ = 0;
};

// The primitives under clsCrypto, for the provider's conformance check.
namespace crypto_detail {
// The MD5 digest of data; nothing when the providers cannot be loaded.
std::optional<std::string> Md5(std::string_view data);
// The base provider's session key from a hash: its first 5 bytes, then 11 zero bytes.
std::string DeriveRc2Key(std::string_view hash);
// RC2-CBC, 40 effective key bits, zero IV, PKCS#5 padding; nothing when it fails (a key of
// the wrong size, a cipher text that is not whole blocks or whose padding is wrong).
std::optional<std::string> Rc2(std::string_view key, std::string_view data, bool encrypt);
}  // namespace crypto_detail

}  // namespace morvath
