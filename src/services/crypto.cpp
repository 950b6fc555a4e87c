#include "services/crypto.h"

#include <openssl/crypto.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/core_names.h>
#include <openssl/params.h>
#include <openssl/provider.h>

#include <memory>
#include <mutex>

#include "platform/cp1251.h"
#include "platform/frontend.h"

namespace morvath {
namespace crypto_detail {

// The providers and algorithms, loaded once for the process and kept to its end: loading the
// legacy module for every file operation would cost more than the operation itself.
struct Provider {
    OSSL_LIB_CTX* ctx = nullptr;
    EVP_MD* md5 = nullptr;
    EVP_CIPHER* rc2 = nullptr;
};

namespace {

constexpr std::size_t kKeyBytes = 16;
constexpr std::size_t kHashKeyBytes = 5;  // 40 bits
constexpr unsigned kEffectiveKeyBits = 40;

const Provider* LoadProvider() {
    OSSL_LIB_CTX* ctx = OSSL_LIB_CTX_new();
    if (!ctx) return nullptr;
    if (OSSL_PROVIDER_load(ctx, "legacy") && OSSL_PROVIDER_load(ctx, "default")) {
        EVP_MD* md5 = EVP_MD_fetch(ctx, "MD5", nullptr);
        EVP_CIPHER* rc2 = EVP_CIPHER_fetch(ctx, "RC2-CBC", nullptr);
        if (md5 && rc2) return new Provider{ctx, md5, rc2};
        EVP_MD_free(md5);
        EVP_CIPHER_free(rc2);
    }
    OSSL_LIB_CTX_free(ctx);  // also unloads the providers
    return nullptr;
}

// Nothing when the providers cannot be loaded; a later call tries again.
const Provider* AcquireProvider() {
    static std::mutex m;
    static const Provider* provider = nullptr;
    std::lock_guard lock(m);
    if (!provider) provider = LoadProvider();
    return provider;
}

struct MdCtxFree {
    void operator()(EVP_MD_CTX* c) const { EVP_MD_CTX_free(c); }
};
struct CipherCtxFree {
    void operator()(EVP_CIPHER_CTX* c) const { EVP_CIPHER_CTX_free(c); }
};

enum class HashStep { Done, CreateHash, HashData, GetHashParam };

HashStep Hash(const EVP_MD* md, std::string_view data, std::string& digest) {
    if (!md) return HashStep::CreateHash;
    std::unique_ptr<EVP_MD_CTX, MdCtxFree> c(EVP_MD_CTX_new());
    if (!c || !EVP_DigestInit_ex2(c.get(), md, nullptr)) return HashStep::CreateHash;
    if (!EVP_DigestUpdate(c.get(), data.data(), data.size())) return HashStep::HashData;
    unsigned char buf[EVP_MAX_MD_SIZE];
    unsigned len = 0;
    if (!EVP_DigestFinal_ex(c.get(), buf, &len)) return HashStep::GetHashParam;
    digest.assign(reinterpret_cast<const char*>(buf), len);
    return HashStep::Done;
}

std::optional<std::string> Cipher(const EVP_CIPHER* rc2, std::string_view key, std::string_view data,
                                  bool encrypt) {
    if (!rc2 || key.size() != kKeyBytes) return std::nullopt;
    std::unique_ptr<EVP_CIPHER_CTX, CipherCtxFree> c(EVP_CIPHER_CTX_new());
    if (!c) return std::nullopt;
    // The effective key bits must be in place before the key schedule is built, so the
    // parameters go in a first initialisation and the key in a second one.
    std::size_t keyLength = kKeyBytes;
    unsigned bits = kEffectiveKeyBits;
    OSSL_PARAM params[] = {OSSL_PARAM_construct_size_t(OSSL_CIPHER_PARAM_KEYLEN, &keyLength),
                           OSSL_PARAM_construct_uint(OSSL_CIPHER_PARAM_RC2_KEYBITS, &bits),
                           OSSL_PARAM_construct_end()};
    const unsigned char iv[8] = {};
    const int enc = encrypt ? 1 : 0;
    if (!EVP_CipherInit_ex2(c.get(), rc2, nullptr, nullptr, enc, params)) return std::nullopt;
    if (!EVP_CipherInit_ex2(c.get(), nullptr, reinterpret_cast<const unsigned char*>(key.data()), iv, enc,
                            nullptr))
        return std::nullopt;
    std::string out(data.size() + 16, '\0');
    int n = 0, tail = 0;
    auto* o = reinterpret_cast<unsigned char*>(out.data());
    if (!EVP_CipherUpdate(c.get(), o, &n, reinterpret_cast<const unsigned char*>(data.data()),
                          static_cast<int>(data.size())))
        return std::nullopt;
    if (!EVP_CipherFinal_ex(c.get(), o + n, &tail)) return std::nullopt;
    out.resize(static_cast<std::size_t>(n + tail));
    return out;
}

}  // namespace

std::optional<std::string> Md5(std::string_view data) {
    const Provider* p = AcquireProvider();
    if (!p) return std::nullopt;
    std::string digest;
    HashStep step = Hash(p->md5, data, digest);
    ERR_clear_error();
    if (step != HashStep::Done) return std::nullopt;
    return digest;
}

std::string DeriveRc2Key(std::string_view hash) {
    std::string key(hash.substr(0, kHashKeyBytes));
    key.resize(kKeyBytes, '\0');
    return key;
}

std::optional<std::string> Rc2(std::string_view key, std::string_view data, bool encrypt) {
    const Provider* p = AcquireProvider();
    auto r = p ? Cipher(p->rc2, key, data, encrypt) : std::nullopt;
    ERR_clear_error();
    return r;
}

}  // namespace crypto_detail

namespace {

constexpr const wchar_t* kBoxTitle = L"VB Crypto";

// The code of the provider's last error, which the boxes show.
unsigned long LastError() {
    unsigned long e = ERR_peek_last_error();
    ERR_clear_error();
    return e;
}

}  // namespace

clsCrypto::clsCrypto(Voice voice) : voice_(voice) {
    ERR_clear_error();
    provider_ = crypto_detail::AcquireProvider();
    if (!provider_) {
        errorMsg_ = L"Error creating key container - " + std::to_wstring(LastError());
        Show(errorMsg_, kBoxTitle);
        errorMsg_ = L"Unable to initialize CryptoAPI.";
        Show(errorMsg_, kBoxTitle);
    }
}

void clsCrypto::Show(const std::wstring& text, const wchar_t* title) const {
    if (voice_ == Loud) UI().MsgBox(text, MsgButtons::Ok, MsgIcon::None, title);
}

clsCrypto::~clsCrypto() {
    if (sessionKey_) OPENSSL_cleanse(sessionKey_->data(), sessionKey_->size());
}

bool clsCrypto::Fail(std::wstring_view during) {
    errorMsg_ = L"Error " + std::to_wstring(LastError()) + std::wstring(during);
    Show(errorMsg_, kBoxTitle);
    return false;
}

bool clsCrypto::GeneratePasswordKey() {
    if (!provider_) return Fail(L" during CryptCreateHash!");
    std::string hash;
    switch (crypto_detail::Hash(provider_->md5, EncodeCp1251(password_), hash)) {
        case crypto_detail::HashStep::Done: break;
        case crypto_detail::HashStep::CreateHash: return Fail(L" during CryptCreateHash!");
        default: return Fail(L" during CryptHashData!");
    }
    std::string key = crypto_detail::DeriveRc2Key(hash);
    // A key the cipher refuses is a failed derivation, not a failed encryption later on.
    if (!crypto_detail::Cipher(provider_->rc2, key, {}, true)) return Fail(L" during CryptDeriveKey!");
    if (sessionKey_) OPENSSL_cleanse(sessionKey_->data(), sessionKey_->size());
    sessionKey_ = std::move(key);
    return true;
}

bool clsCrypto::HashFile() {
    if (!provider_) return Fail(L" during CryptCreateHash!");
    std::string digest;
    switch (crypto_detail::Hash(provider_->md5, in_, digest)) {
        case crypto_detail::HashStep::Done: break;
        case crypto_detail::HashStep::CreateHash: return Fail(L" during CryptCreateHash!");
        case crypto_detail::HashStep::HashData: return Fail(L" during CryptHashData!");
        case crypto_detail::HashStep::GetHashParam: return Fail(L" during CryptGetHashParam!");
    }
    digest_ = std::move(digest);
    digestLength_ = static_cast<long>(digest_.size());
    return true;
}

bool clsCrypto::EncryptFileData() {
    in_ = std::to_string(digestLength_) + digest_ + in_;
    return EncryptMessageData();
}

bool clsCrypto::EncryptMessageData() {
    auto r = provider_ && sessionKey_ ? crypto_detail::Cipher(provider_->rc2, *sessionKey_, in_, true) : std::nullopt;
    if (!r) return Fail(L" during CryptEncrypt!");
    out_ = std::move(*r);
    return true;
}

bool clsCrypto::DecryptMessageData() {
    auto r = provider_ && sessionKey_ ? crypto_detail::Cipher(provider_->rc2, *sessionKey_, in_, false) : std::nullopt;
    if (!r) return Fail(L" during CryptDecrypt!");
    out_ = std::move(*r);
    return true;
}

void clsCrypto::ReportCorrupted() {
    // The box of the corruption carries the application's default title.
    if (voice_ == Loud) UI().MsgBox(L"File has been corrupted since original encryption.", MsgButtons::Ok);
    out_.clear();
}

bool clsCrypto::DecryptFileData() {
    if (!DecryptMessageData()) return false;
    // A deciphered text that is no envelope at all (no two-digit length, or a digest that
    // runs past the end) is as corrupted as one whose digest differs.
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (out_.size() < 2 || !digit(out_[0]) || !digit(out_[1])) {
        ReportCorrupted();
        return false;
    }
    std::size_t storedLength = static_cast<std::size_t>((out_[0] - '0') * 10 + (out_[1] - '0'));
    if (2 + storedLength > out_.size()) {
        ReportCorrupted();
        return false;
    }
    std::string stored = out_.substr(2, storedLength);
    in_ = out_.substr(2 + storedLength);
    if (!HashFile()) return false;
    if (digest_ != stored) {
        ReportCorrupted();
        return false;
    }
    out_ = in_;
    return true;
}

bool clsCrypto::DestroySessionKey() {
    if (!sessionKey_) return Fail(L" during CryptDestroyKey!");
    OPENSSL_cleanse(sessionKey_->data(), sessionKey_->size());
    sessionKey_.reset();
    return true;
}

}  // namespace morvath
