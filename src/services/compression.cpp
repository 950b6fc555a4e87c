#include "services/compression.h"

#include <algorithm>
#include <fstream>
#include <utility>

#include "platform/cp1251.h"
#include "services/huffman.h"

namespace morvath {
namespace {

constexpr std::wstring_view kNotFound = L": File not found";
constexpr std::wstring_view kEmpty = L": File empty";
constexpr std::wstring_view kNoId = L": File is either not compressed or corrupt (ID not found)";
constexpr std::wstring_view kCorrupt = L": File is corrupt (integrity check failed)";
constexpr std::wstring_view kBadName = L": bad entry name";
constexpr std::wstring_view kNotWritten = L": File cannot be written";

constexpr std::pair<std::wstring_view, std::wstring_view> kInRussian[] = {
    {kNotFound, L": файл не найден"},
    {kEmpty, L": файл пуст"},
    {kNoId, L": файл не сжат или повреждён"},
    {kCorrupt, L": файл повреждён"},
    {kBadName, L": недопустимое имя, пропущен"},
    {kNotWritten, L": не удалось записать"},
};

std::wstring operator+(const std::wstring& a, std::wstring_view b) {
    std::wstring s = a;
    s.append(b);
    return s;
}

std::wstring PathText(const fs::path& p) { return FromUtf8(p.string()); }

// A refused name is shown to the player: control characters must not reach the message box.
std::wstring Printable(std::wstring name) {
    for (auto& c : name) {
        if (c < 32 || c == 127) c = L'?';
    }
    return name;
}

// Reads the archive's framing; every read says whether the bytes were there.
class Cursor {
public:
    explicit Cursor(std::string_view data) : data_(data) {}
    bool Bytes(std::size_t n, std::string_view& out) {
        if (data_.size() - pos_ < n) return false;
        out = data_.substr(pos_, n);
        pos_ += n;
        return true;
    }
    bool Le(int n, std::uint32_t& out) {
        std::string_view b;
        if (!Bytes(static_cast<std::size_t>(n), b)) return false;
        out = 0;
        for (int i = 0; i < n; ++i) out |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[static_cast<std::size_t>(i)])) << (8 * i);
        return true;
    }
    std::size_t Left() const { return data_.size() - pos_; }

private:
    std::string_view data_;
    std::size_t pos_ = 0;
};

// Adds the message a decoding outcome calls for; true when the decoded bytes replace the
// input (a broken stream still gives what it decoded, as a wrong checksum does).
bool Report(clsCompresion& c, const std::wstring& name, StreamStatus status) {
    switch (status) {
        case StreamStatus::Decoded: return true;
        case StreamStatus::UnknownId: c.AddError(name + kNoId); return false;
        case StreamStatus::EmptyCoded: return false;
        case StreamStatus::Corrupt: c.AddError(name + kCorrupt); return true;
    }
    return false;
}

}  // namespace

std::wstring ErrorsInRussian(std::wstring_view errors) {
    std::wstring out(errors);
    for (const auto& [english, russian] : kInRussian) {
        for (std::size_t at = out.find(english); at != std::wstring::npos; at = out.find(english, at + russian.size())) {
            out.replace(at, english.size(), russian);
        }
    }
    return out;
}

std::wstring clsCompresion::ExtractAll(const fs::path& SelectedFile, const fs::path& PathToExtract) {
    Errors.clear();
    FilesNotWritten = 0;
    const std::wstring archiveName = Simplificate(PathText(SelectedFile));
    auto archive = FileExists(SelectedFile) ? ReadBytes(SelectedFile) : std::nullopt;
    if (!archive) {
        AddError(archiveName + kNotFound);
        return Errors;
    }
    Cursor in(*archive);
    std::uint32_t rawCount;
    if (!in.Le(2, rawCount)) {
        AddError(archiveName + kCorrupt);
        return Errors;
    }
    const int count = static_cast<std::int16_t>(rawCount);
    // A negative count is a damaged header, not an empty archive.
    if (count < 0) {
        AddError(archiveName + kCorrupt);
        return Errors;
    }
    for (int i = 1; i <= count; ++i) {
        std::uint32_t nameLength, rawSize;
        std::string_view rawName, stream;
        if (!in.Le(1, nameLength) || !in.Bytes(nameLength, rawName) || !in.Le(4, rawSize)) {
            AddError(archiveName + kCorrupt);
            break;
        }
        const auto size = static_cast<std::int32_t>(rawSize);
        if (size < 0 || static_cast<std::size_t>(size) > in.Left()) {
            AddError(archiveName + kCorrupt);
            break;
        }
        in.Bytes(static_cast<std::size_t>(size), stream);
        std::wstring name = DecodeCp1251(rawName);
        if (!IsPlainName(name)) {
            AddError(Printable(name) + kBadName);
            continue;
        }
        // Names are matched without regard to case, so an entry replaces "A1.MAP" as well.
        fs::path dest = ResolvePath(PathToExtract, name);
        fileName_ = name;
        if (size != 0) {
            DecodeFile(stream, dest);
        } else if (!WriteFileAtomic(dest, {})) {
            AddError(fileName_ + kNotWritten);
            ++FilesNotWritten;
        }
    }
    return Errors;
}

void clsCompresion::DecodeFile(std::string_view stream, const fs::path& DestFile) {
    DecodedStream r = HuffmanDecode(stream);
    // A stream we cannot read is written as it is: the file may still be of use.
    std::string_view content = Report(*this, fileName_, r.status) ? std::string_view(r.data) : stream;
    if (!WriteFileAtomic(DestFile, content)) {
        AddError(fileName_ + kNotWritten);
        ++FilesNotWritten;
    }
}

void clsCompresion::EncodeFile(const fs::path& SourceFile, const fs::path& DestFile) {
    fileName_ = Simplificate(PathText(SourceFile));
    auto bytes = FileExist(SourceFile) ? ReadBytes(SourceFile) : std::nullopt;
    if (!bytes) {
        AddError(fileName_ + kNotFound);
        return;
    }
    if (bytes->empty()) {
        AddError(fileName_ + kEmpty);
        return;
    }
    AppendToFile(DestFile, HuffmanEncode(*bytes));
}

void clsCompresion::DecodeByte(std::vector<std::uint8_t>& ByteArray, std::int32_t ByteLen) {
    std::size_t len = std::min<std::size_t>(static_cast<std::size_t>(std::max<std::int32_t>(ByteLen, 0)), ByteArray.size());
    DecodedStream r = HuffmanDecode(std::string_view(reinterpret_cast<const char*>(ByteArray.data()), len));
    if (Report(*this, fileName_, r.status)) ByteArray.assign(r.data.begin(), r.data.end());
}

void clsCompresion::EncodeByte(std::vector<std::uint8_t>& ByteArray, std::int32_t ByteLen) {
    std::size_t len = std::min<std::size_t>(static_cast<std::size_t>(std::max<std::int32_t>(ByteLen, 0)), ByteArray.size());
    std::string stream = HuffmanEncode(std::string_view(reinterpret_cast<const char*>(ByteArray.data()), len));
    ByteArray.assign(stream.begin(), stream.end());
}

std::wstring clsCompresion::DecodeString(const std::wstring& Text) {
    std::string bytes = EncodeCp1251(Text);
    DecodedStream r = HuffmanDecode(bytes);
    return Report(*this, fileName_, r.status) ? DecodeCp1251(r.data) : Text;
}

std::wstring clsCompresion::EncodeString(const std::wstring& Text) {
    return DecodeCp1251(HuffmanEncode(EncodeCp1251(Text)));
}

std::wstring clsCompresion::Simplificate(std::wstring Chain) {
    // The game's own paths use "\", the host's "/".
    auto at = Chain.find_last_of(L"\\/");
    return at == std::wstring::npos ? Chain : Chain.substr(at + 1);
}

void clsCompresion::AddError(const std::wstring& Chain) {
    if (!Errors.empty()) Errors += L"\r\n";
    Errors += Chain;
}

bool clsCompresion::FileExist(const fs::path& Filename) {
    if (!FileExists(Filename)) return false;
    std::ifstream in(Filename, std::ios::binary);
    return in.is_open();
}

}  // namespace morvath
