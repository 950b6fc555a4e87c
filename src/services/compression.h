#pragma once
// The compressor object and the reader of the map archive \maps\data.uni.
//
// Archive layout (little-endian): entry count (16-bit signed); per entry the name length
// (1 byte), the name (Windows-1251, no path), the stream size (32-bit signed) and that many
// bytes of one stream (see services/huffman.h); a size of 0 has no stream and makes an empty
// file.
//
// Nothing here shows a message: failures are collected as lines in `Errors`, each the file
// name followed directly by the text, and the caller decides what the player sees.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

namespace morvath {

class clsCompresion {
public:
    // The error lines of the current extraction, joined by CRLF.
    std::wstring Errors;
    // Entries of the current extraction that could not be written.
    int FilesNotWritten = 0;

    // Unpacks every entry of the archive into the folder, replacing files of the same name,
    // and returns `Errors` ("" when all went well). Entries whose names could reach outside
    // the folder are refused; a broken entry is written as far as it decoded.
    std::wstring ExtractAll(const fs::path& SelectedFile, const fs::path& PathToExtract);

    // Encodes the whole file and appends the stream to DestFile (created when missing).
    void EncodeFile(const fs::path& SourceFile, const fs::path& DestFile);

    // In place: on return the array holds exactly the result. Only the first ByteLen bytes
    // are read. A stream of an unknown kind, or a coded one stating 0 bytes, leaves the array
    // as it was.
    void DecodeByte(std::vector<std::uint8_t>& ByteArray, std::int32_t ByteLen);
    void EncodeByte(std::vector<std::uint8_t>& ByteArray, std::int32_t ByteLen);

    // The same over text: one Windows-1251 byte per character.
    std::wstring DecodeString(const std::wstring& Text);
    std::wstring EncodeString(const std::wstring& Text);

    // The file-name part of a path: the text after the last separator.
    static std::wstring Simplificate(std::wstring Chain);
    void AddError(const std::wstring& Chain);
    // True when the file can be opened for reading.
    static bool FileExist(const fs::path& Filename);

private:
    void DecodeFile(std::string_view stream, const fs::path& DestFile);

    // The file-name part of the file being worked on: every message starts with it.
    std::wstring fileName_;
};

// The error lines as the player reads them, in Russian.
std::wstring ErrorsInRussian(std::wstring_view errors);

}  // namespace morvath
