#pragma once
// One run of a script: the text goes into Script, ScriptExecute runs it to the end.
// A new object for every run.
#include <string>

namespace morvath {

class Cscript {
public:
    std::wstring Script;
    void ScriptExecute();
};

// Reads \scripts\<file> and runs it in a new Cscript; a missing or unreadable file does
// nothing. Returns false when the file could not be read.
bool RunScriptFile(const std::wstring& file);

}  // namespace morvath
