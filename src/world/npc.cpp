#include "world/npc.h"

#include <cmath>

#include "platform/random.h"
#include "platform/textforms.h"
#include "world/game_state.h"
#include "world/hooks.h"
#include "world/speech.h"
#include "world/tiles.h"

namespace morvath {
namespace {

bool Passable(const std::wstring& tile) { return TileAllows(tile, kCharacterSteps); }

int Sign(double v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }

// A uniform -1, 0 or 1: Int(Rnd * 3) with 2 standing for -1.
int RandomDelta() {
    Randomize();
    int d = static_cast<int>(Int(Rnd() * 3));
    return d == 2 ? -1 : d;
}

bool OnHero(double x, double y) {
    return x == static_cast<double>(modVarsAndMain.PlayerX) && y == static_cast<double>(modVarsAndMain.PlayerY);
}

World* TheWorld() { return modVarsAndMain.TheWorld.get(); }

std::wstring TileAt(double x, double y) {
    World* w = TheWorld();
    return w ? w->GetPosMap(x, y) : L"";
}

void SetTile(double row, double col, const std::wstring& ch) {
    if (World* w = TheWorld()) w->setPosMap2(row, col, ch);
}

// A script file is read item by item, as the comma-separated record reader splits it: each
// item becomes one line, so a comma outside quotes starts a new script line and quotes
// vanish. Script authors write to this, so it is kept. A missing file or a name that would
// lead out of the scripts folder gives nothing.
std::optional<std::wstring> LoadScript(const std::wstring& file) {
    if (!IsPlainName(file)) return std::nullopt;
    auto reader = TextReader::Open(GamePath(L"\\scripts\\" + file));
    if (!reader) return std::nullopt;
    std::wstring text, item;
    while (reader->ReadItem(item)) {
        text += item;
        text += L"\r\n";
    }
    return text;
}

// The script may change location, kill characters or clear NPCs; the character must stay
// alive until the run has returned, and nothing of it is touched afterwards.
void RunNpcScript(NPC& self, const std::wstring& file) {
    std::shared_ptr<NPC> keep;
    if (modVarsAndMain.NPCs) {
        for (const auto& p : *modVarsAndMain.NPCs) {
            if (p.get() == &self) keep = p;
        }
    }
    auto text = LoadScript(file);
    if (!text) return;
    self.scriptText = *text;
    RunScript(*text);
}

// What a character leaves behind on its square: the heap mark while things lie there (it
// may have walked onto a heap, or died on one), else plain ground.
void LeaveSquare(const NPC& n) {
    const wchar_t* ground = L"G";
    if (World* w = TheWorld(); w && w->mapItemCol) {
        for (const auto& item : *w->mapItemCol) {
            if (item->X == n.X && item->Y == n.Y) ground = L"9";
        }
    }
    SetTile(n.Y + 3, n.X + 3, ground);
}

// A character that cannot move still rewrites its own square with its symbol.
void MakeStep(NPC& n, int dx, int dy) {
    LeaveSquare(n);
    if (OnHero(n.X + dx, n.Y + dy)) dx = dy = 0;
    n.X += static_cast<float>(dx);
    n.Y += static_cast<float>(dy);
    SetTile(n.Y + 3, n.X + 3, n.Symbol);
}

// Towards the hero (dir 1) or away from him (dir -1): the straight step, else a slide along
// one axis, else a random step or none.
void ChaseStep(NPC& n, int dir) {
    const auto& g = modVarsAndMain;
    const float X = n.X, Y = n.Y;
    int dx = dir * Sign(static_cast<double>(g.PlayerX) - X);
    int dy = dir * Sign(static_cast<double>(CInt(static_cast<double>(g.PlayerY) - Y)));
    if (Passable(TileAt(X + 3 + dx, Y + 3 + dy))) {
        // the straight step
    } else if (Passable(TileAt(X + 3 + dx, Y + 3))) {
        dy = 0;
    } else if (Passable(TileAt(X + 3, Y + 3 + dy))) {
        dx = 0;
    } else {
        dx = RandomDelta();
        dy = RandomDelta();
        if (!Passable(TileAt(X + 3 + dx, Y + 3 + dy))) dx = dy = 0;
    }
    MakeStep(n, dx, dy);
}

}  // namespace

void NPC::ExecTalkAIScript() {
    auto& g = modVarsAndMain;
    const double heroX = g.PlayerX, heroY = g.PlayerY;
    const std::wstring place = g.TheWorld ? g.TheWorld->WorldName : L"";
    if (Last_Speech.empty()) {
        RunNpcScript(*this, AIScript_File);
    } else {
        Say(Last_Speech, NPCName + L":");
    }
    // A talk script cannot walk the hero about, but one that moved him to another
    // location must leave him where he arrived.
    const std::wstring now = g.TheWorld ? g.TheWorld->WorldName : L"";
    if (now == place) {
        g.PlayerX = heroX;
        g.PlayerY = heroY;
    }
}

void NPC::Do_Move(long /*i*/) {
    switch (static_cast<int>(Tactic)) {
        case kTacticStay:
            return;
        case kTacticRandomWalk: {
            int dx = RandomDelta();
            int dy = RandomDelta();
            if (OnHero(X + dx, Y + dy) || !Passable(TileAt(X + 3 + dx, Y + 3 + dy))) dx = dy = 0;
            MakeStep(*this, dx, dy);
            return;
        }
        case kTacticFlee: {
            ChaseStep(*this, -1);
            for (int retry = 0; retry < 50 && OnHero(X, Y); ++retry) ChaseStep(*this, -1);
            return;
        }
        default: {
            ChaseStep(*this, 1);
            if (AdjacentToHero()) StartFightAt(X, Y);
            return;
        }
    }
}

bool NPC::AdjacentToHero() const {
    const double ax = std::fabs(static_cast<double>(modVarsAndMain.PlayerX) - X);
    const double ay = std::fabs(static_cast<double>(modVarsAndMain.PlayerY) - Y);
    return (ax == 0 || ax == 1) && (ay == 0 || ay == 1) && !(ax == 0 && ay == 0);
}

int NPC::GetWeaponType() {
    if (Weapon == L"М") {
        WeaponName = L"Меч";
        Randomize();
        return static_cast<int>(Int(Rnd() * 9));
    }
    if (Weapon == L"A") {
        WeaponName = L"Топор";
        return 2;
    }
    if (Weapon == L"З") {
        WeaponName = L"Алмазный меч";
        return 20;
    }
    WeaponName = L"Кулак";
    return 1;
}

void NPC::run() { LeaveSquare(*this); }

void NPC::Died() {
    if (Good && modVarsAndMain.Player) modVarsAndMain.Player->Doom += 1;
    ScriptEvent = kEventDied;
    LeaveSquare(*this);
    RunNpcScript(*this, DieScript_File);
}

void NPC::ExecScriptR(const std::wstring& scriptFile) { RunNpcScript(*this, scriptFile); }

}  // namespace morvath
