#include "world/wilderness.h"

#include <cmath>

#include "platform/frontend.h"
#include "platform/random.h"
#include "world/game_state.h"
#include "world/quest_flags.h"
#include "world/random_content.h"
#include "world/turn.h"
#include "world/view.h"

namespace morvath {
namespace {

constexpr const wchar_t* kForest = L"\u040A";  // Њ

double RndInt(double n) { return Int(Rnd() * n); }

struct Kind {
    const wchar_t* plural;
    const wchar_t* name;
    const wchar_t* symbol;
    const wchar_t* dieScript;
};

constexpr Kind kBerendei{L"Диких берендеев", L"Дикий берендей", L"\u00AE", L"berend.die"};
constexpr Kind kCreatures{L"Тварей", L"Тварь", L"t", L"tvar.die"};
constexpr Kind kBears{L"Медведей", L"Медведь", L"\u0490", L"bear.die"};
constexpr Kind kWolves{L"Стаю Волков", L"Волк", L"\u0402", L"pvolk.die"};
constexpr Kind kSpiders{L"Пауков", L"Паук", L"\u00A9", L"spider.die"};

bool IsSpiderKind(int k) { return k <= 2 || (k >= 5 && k <= 7); }

bool Asks(const std::wstring& text) { return UI().MsgBox(text, MsgButtons::YesNo) == MsgResult::Yes; }

// Whether the hero fights the beasts: some block his way, the others he may walk past.
bool FightFollows(const WildBeasts& kind) {
    const std::wstring plural = kind.plural;
    if (RndInt(7) == 6) {
        UI().MsgBox(L"Вас остановило несколько " + plural + L"!");
        return true;
    }
    const double e = RndInt(5);
    if (Asks(L"Вы встретили несколько " + plural + L".Вы хотите драться?")) return true;
    if (e != 4) return false;
    UI().MsgBox(L"Сбежать невозможно!");
    return true;
}

std::shared_ptr<NPC> AddBeast(const std::wstring& name, const std::wstring& symbol) {
    auto& g = modVarsAndMain;
    auto npc = g.NPCs->Add();
    g.CurNPC = npc;
    npc->NPCName = name;
    npc->Symbol = symbol;
    npc->Tactic = kTacticApproach;
    npc->AIScript_File = L"temp.tai";
    return npc;
}

}  // namespace

void RollWildEncounter() {
    auto& g = modVarsAndMain;
    g.CurTile = g.TheWorld->GetPosMap(g.PlayerX + 3, g.PlayerY + 3);
    if (g.CurTile == L"G" || g.CurTile == kForest) {
        Randomize();
        if (RndInt(7) == 3 || g.Player->Luck < -3) WildEncounter(g.CurTile);
    }
    g.Player->DoChangesWild();
}

WildBeasts BeastsFor(int k, double L, double U) {
    const Kind* kind = &kSpiders;
    double A = 0, B = 0;
    switch (k) {
        case 3: kind = &kBerendei; A = std::fabs(L / 2 + 6 - U); B = 2 * L + 10 - U; break;
        case 8: kind = &kBerendei; A = std::fabs(L / 2 + 2 - U); B = 2 * L + 6; break;
        case 9: kind = &kBerendei; A = std::fabs(L / 2 + 4 - U); B = 2 * L + 8; break;
        case 4: kind = &kCreatures; A = L + 2 - U / 2; B = L + 10 - U / 2; break;
        case 10: kind = &kBears; A = L / 2 + 5 - U; B = 16; break;
        case 11: kind = &kWolves; A = L / 2 + 2; B = 10; break;
        default: A = Int(L / 4) + 1 - U / 2; B = Int(L / 4) + 9 - U / 2; break;
    }
    if (A <= 0) A = 1;
    if (B <= 0) B = 7;
    return {kind->plural, kind->name, kind->symbol, kind->dieScript, A, B};
}

void WildEncounter(const std::wstring& tile) {
    auto& g = modVarsAndMain;
    Randomize();
    const int k = static_cast<int>(RndInt(12));
    const double L = g.Player->Level;
    const double U = g.Player->Luck;
    if (IsSpiderKind(k) && g.QuestFlags[kFlagSpiderTramp] == 1) {
        if (!Asks(L"Вы встретили грязного бродягу Игоря...")) return;
        MakeBattleground(tile);
        PopulateSpiderCave();
        return;
    }
    if (IsSpiderKind(k) && g.QuestFlags[kFlagSpiderWarrior] == 1) {
        if (!Asks(L"Вы встретили Одинокого Воина...")) return;
        MakeBattleground(tile);
        AddUnknownWarrior();
        return;
    }
    const WildBeasts beasts = BeastsFor(k, L, U);
    if (!FightFollows(beasts)) return;

    int n = CInt(RndInt(7) + 2 - 2 * U + L);
    if (n <= 1) n = 4;
    if (k == 10) n = 1;                                 // two bears
    if (k == 11) n = static_cast<int>(RndInt(7)) + 2;  // 3 to 9 wolves
    MakeBattleground(tile);

    if (k == 11 && g.QuestFlags[kFlagOldScholar] == 1) {
        auto leader = AddBeast(L"Черный Волк", L"\u2122");
        leader->X = static_cast<float>(RndInt(9) + 14);
        leader->Y = static_cast<float>(RndInt(9) + 14);
        leader->HP = RndInt(beasts.B) + 9;
        leader->Strenght = RndInt(beasts.A) + 2;
        leader->DieScript_File = L"bwolf.die";
    }
    for (int i = 0; i <= n; ++i) {
        auto beast = AddBeast(beasts.name, beasts.symbol);
        beast->Weapon = L"К";
        beast->X = static_cast<float>(RndInt(9) + 14);
        beast->Y = static_cast<float>(RndInt(9) + 14);
        beast->HP = 3 * Rnd() + beasts.B;
        beast->Strenght = beasts.A + 2 * Rnd();
        beast->DieScript_File = beasts.dieScript;
    }
    MoveAllNPCs();
    DrawIt();
}

void MakeBattleground(const std::wstring& tile) {
    World& w = *modVarsAndMain.TheWorld;
    if (tile == L"G") {
        w.WorldName = L"plain";
        w.Generate_Plains();
    } else if (tile == kForest) {
        w.WorldName = L"forest";
        w.Generate_Forest();
    }
}

void EnterWildLocation() {
    auto& g = modVarsAndMain;
    if (g.TheWorld->WorldName != L"wild") return;
    Do_Change_Of_World();
    // The turn's encounter may already have put the hero on a battleground.
    if (g.TheWorld->WorldName != L"wild") return;
    g.CurTile = g.TheWorld->GetPosMap(g.PlayerX + 3, g.PlayerY + 3);
    if (g.CurTile == L"B" || g.CurTile == kForest) {
        MakeBattleground(kForest);
    } else if (g.CurTile == L"G") {
        MakeBattleground(L"G");
    } else {
        g.TheWorld->checkplace();
    }
}

void PlaceWildExit() {
    if (modVarsAndMain.QuestFlags[kFlagUralPass] != 0) modVarsAndMain.TheWorld->setPosMap(14, 40, L"q");
}

}  // namespace morvath
