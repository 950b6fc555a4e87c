// Temporary: the interpreter replaces this file.
#include "script/cscript.h"

#include "platform/files.h"

namespace morvath {

void Cscript::ScriptExecute() {}

bool RunScriptFile(const std::wstring& file) {
    auto text = ReadWholeFile(GamePath(L"\\scripts\\" + file));
    if (!text) return false;
    Cscript s;
    s.Script = *text;
    s.ScriptExecute();
    return true;
}

}  // namespace morvath
