// Temporary: stand-ins for hero and character operations that the world model is building
// at the same time. They are weak, so the world model's own definitions take their place
// as soon as they are linked in; delete this file once they are on main.
#include "platform/files.h"
#include "script/cscript.h"
#include "world/main_character.h"
#include "world/npc.h"

namespace morvath {

__attribute__((weak)) void MainCharacter::DoWeight() {}
__attribute__((weak)) bool MainCharacter::CheckWeight() { return true; }

__attribute__((weak)) void NPC::ExecScriptR(const std::wstring& scriptFile) {
    fs::path path = GamePath(L"\\scripts\\" + scriptFile);
    if (!FileExists(path)) return;
    auto text = ReadWholeFile(path);
    if (!text) return;
    Cscript s;
    s.Script = *text;
    s.ScriptExecute();
}

}  // namespace morvath
