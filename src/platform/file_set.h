#pragma once
// A folder whose files change together. New versions are written into a staging folder and
// read from there while they are newer; a commit moves every staged file into the folder in
// one step that a crash cannot split: a record naming the files is made durable first, and a
// commit cut short is finished from it at the next start. Staged files that no record names
// belong to no commit and are dropped then. So the folder always holds the files of one
// commit, whole, and never a mix of two.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

namespace morvath {

struct StagedFolder {
    fs::path folder;   // the files as last committed
    fs::path staging;  // newer versions, not yet committed
    fs::path record;   // the commit record: present only while a commit is under way

    // The newest version of a file: staged, else committed (names matched without regard
    // to case, as GamePath does).
    fs::path Current(std::wstring_view name) const;
    // Where a new version of a file is written: in staging, under the spelling the file
    // already has, so that the commit replaces it rather than adding a second one. A commit
    // cut short is finished first.
    fs::path Staged(std::wstring_view name) const;
    // Moves every staged file into the folder. False when the folder could not be changed
    // (it is as it was) or the move was cut short (Recover finishes it).
    bool Commit() const;
    // Finishes a commit that was cut short; else drops the staged files of no commit. Then
    // removes the temporary files a crash left in the folder and in staging.
    void Recover() const;
    // Drops every staged file and the commit record.
    void Discard() const;
};

// The file names a commit record holds; nothing when it is not a whole record.
std::optional<std::vector<std::string>> ParseCommitRecord(std::string_view bytes);

}  // namespace morvath
