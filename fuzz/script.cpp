// Arbitrary script text against a fresh game with a scripted player: it must end (the line
// budget), never crash and never read outside its buffers.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_support.h"
#include "game/game_rules.h"
#include "platform/cp1251.h"
#include "platform/files.h"
#include "platform/frontend.h"
#include "platform/random.h"
#include "script/cscript.h"
#include "world/game_state.h"

using namespace morvath;

namespace {

// A game folder with a few scripts for exe() to find, one of which runs itself.
void PrepareGameFolder() {
    const fs::path dir = GameFolder();
    WriteFileAtomic(dir / "scripts" / "self.tai", "setq(\"1\";\"1\")\r\nexe(\"self.tai\")\r\n");
    WriteFileAtomic(dir / "scripts" / "talk.tai", "say(\"hi\")\r\nwhile \"1\" = \"1\"\r\nend\r\n");
    WriteFileAtomic(dir / "text.txt", "text\r\n");
    InstallGameRules();
}

void FreshGame() {
    ResetGame();
    auto& g = modVarsAndMain;
    g.CreateRoots();
    g.scriptRun.lineBudget = 20000;
    auto npc = g.NPCs->Add();
    npc->NPCName = L"Волхв";
    g.ScriptNPCIndex = 1;
    auto item = g.Inventory->Add();
    item->ItemName = L"Меч";
    item->ItemCount = 2;
    g.GivenItemIndex = 1;
    g.PickedIndex = 1;
    g.Skills[0][0] = L"Литература";
    SeedRandom(1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool prepared = (fuzz::FuzzGameFolder::Get(), PrepareGameFolder(), true);
    (void)prepared;
    FreshGame();
    ScriptedFrontend player;
    player.inputAnswers = {L"\" (t) \"", L"да", L"(\"", L"12"};
    player.msgAnswers = {MsgResult::No, MsgResult::Yes};
    player.choiceAnswers = {2, 11, 1, 7};

    Cscript s;
    s.Script = DecodeCp1251(std::string_view(reinterpret_cast<const char*>(data), size));
    s.ScriptExecute();
    if (modVarsAndMain.scriptRun.depth != 0) __builtin_trap();
    return 0;
}
