#pragma once
// A folder whose files change together. New versions are written into a staging folder and
// read from there while they are newer; a commit moves every staged file into the folder in
// one step that a crash cannot split: a record naming the files is made durable first, and a
// commit cut short is finished from it at the next start. Staged files that no record names
// belong to no commit and are dropped then. So the folder always holds the files of one
// commit, whole, and never a mix of two.
//
// While a commit moves its files in, the versions they replace wait in an undo folder (and
// the names that are new are marked there). A commit that fails part-way puts everything
// back, so that a commit reported as failed is never finished later; and a record found
// damaged, which cannot say which files to move, is undone from there instead.
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

    enum class Outcome {
        Done,        // every staged file is in the folder
        NotDone,     // the folder is as it was, the staged files still staged
        Unfinished,  // cut short and could not be undone: the next start finishes it
    };

    // The newest version of a file: staged, else committed (names matched without regard
    // to case, as GamePath does).
    fs::path Current(std::wstring_view name) const;
    // Where a new version of a file is written: in staging, under the spelling the file
    // already has, so that the commit replaces it rather than adding a second one. A commit
    // cut short is finished first; while it cannot be, a file it still has to move in cannot
    // be written (the path is empty).
    fs::path Staged(std::wstring_view name) const;
    Outcome Commit() const;
    // Finishes a commit that was cut short, or undoes one whose record is damaged; else
    // drops the staged files of no commit. Then removes the temporary files a crash left.
    // False when a damaged record was met: the folder holds the commit before it again.
    bool Recover() const;
    // Drops every staged file and the commit record; true when they are gone.
    bool Discard() const;

private:
    fs::path Kept() const;
    fs::path Added() const;
    bool RollForward(const std::vector<std::string>& names) const;
    bool RollBack(const std::vector<std::string>& moved) const;
    bool PutBack() const;
    bool DropRecord() const;
    bool ClearUndo() const;
};

// The file names a commit record holds; nothing when it is not a whole record.
std::optional<std::vector<std::string>> ParseCommitRecord(std::string_view bytes);

}  // namespace morvath
