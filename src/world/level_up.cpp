// The hero's level-up by person and level, and the character sheet.
#include "platform/frontend.h"
#include "platform/random.h"
#include "world/game_state.h"
#include "world/main_character.h"
#include "world/speech.h"

namespace morvath {
namespace {

// A skill learned at a level goes to the next free row of the table; a full table (the
// last row already used) has no room, and the skill is not learned.
void GrantSkill(const wchar_t* name) {
    auto& g = modVarsAndMain;
    const int last = static_cast<int>(g.Skills.size()) - 1;
    if (g.LastSkillIndex >= last || g.LastSkillIndex < -1) return;
    g.LastSkillIndex += 1;
    g.Skills[static_cast<std::size_t>(g.LastSkillIndex.value())][0] = Variant(std::wstring(name));
}

double Draw() {
    Randomize();
    return Rnd();
}

// Gains of every level-up: MaxHp grows by L / k, plus the person's own gains.
void LevelGains(MainCharacter& h, int L) {
    auto& g = modVarsAndMain;
    switch (static_cast<int>(h.Profession)) {
        case kPrince:
            h.MaxHp = L / 2.0 + h.MaxHp;
            h.Appearance += 0.2;
            h.Strenght += 0.1;
            if (L == 4) {
                h.Strenght += Draw() * L / 4;
                h.HardIness += Draw() * L / 12;
            }
            if (L == 7) h.Magic += L / 100.0;
            if (L == 10) GrantSkill(L"Умение убеждать");
            if (L == 15) {
                h.Strenght += 2 * Draw();
                h.HardIness += 2 * Draw();
            }
            break;
        case kWarlock:
            h.MaxHp = L / 4.0 + h.MaxHp;
            h.Magic += L / 40.0;
            if (L == 2) {
                g.CurseKnown = true;
                h.HardIness += 2 * Draw();
            }
            if (L == 4) {
                g.NightKnown = true;
                h.Strenght += 2 * Draw();
            }
            if (L == 10) h.Magic += 1;
            if (L == 14) GrantSkill(L"Воскрешать мёртвых");
            break;
        case kMonk:
            h.MaxHp = L / 4.0 + h.MaxHp;
            h.Magic += L / 54.0;
            h.WillPower += 0.2;
            h.HardIness += 0.1;
            if (L == 3) {
                h.Strenght += 2 * Draw();
                h.HardIness += 3 * Draw();
            }
            if (L == 7) GrantSkill(L"Освятить вещь");
            if (L == 10) {
                h.Science += 2;
                g.HealingKnown = true;
            }
            if (L == 12) g.CurseKnown = true;
            if (L == 14) h.HardIness += 4 * Draw();
            break;
        case kClaw:
            h.MaxHp = L / 3.0 + h.MaxHp;
            h.Mobility += 0.2;
            if (L == 3) {
                h.Strenght += 2 * Draw();
                h.HardIness += 2 * Draw();
                h.Mobility += 1;
            }
            if (L == 7) GrantSkill(L"Отравленный зуб");
            if (L == 10) h.Mobility += 2;
            if (L == 12) GrantSkill(L"Алхимия");
            if (L == 14) h.Mobility += 3 * Draw();
            break;
        case kHunter:
            h.MaxHp = L / 5.0 + h.MaxHp;
            h.Mobility += 0.3;
            if (L == 3) GrantSkill(L"Знание трав");
            if (L == 6) GrantSkill(L"Подстерегать");
            if (L == 10) {
                h.Mobility += 1;
                h.HardIness += 2;
            }
            if (L == 13) h.Mobility += 2 * Draw();
            if (L == 15) {
                h.Strenght += 3 * Draw();
                h.HardIness += 3 * Draw();
                h.Mobility += 1;
            }
            break;
        default:
            break;
    }
}

std::wstring Num(double v) { return NumText(v); }
std::wstring Whole(double v) { return NumText(Int(v)); }

std::wstring Alignment(double d) {
    return AlignmentText(d, {L"Вы преклоняетесь перед духами Добра", L"Духи Добра расположены к вам..",
                             L"Вы склоняетесь к духам Добра", L"Вы находитесь на перепутье между Духами",
                             L"Вы склонились в сторону Духов Зла", L"Вами владеют Духи Зла"});
}

std::wstring TacticLine(long tactic) {
    switch (tactic) {
        case -2: return L"Поведение: скрытное";
        case -1: return L"Поведение: осторожное";
        case 0: return L"Поведение: нормальное";
        case 1: return L"Поведение: агрессивное";
        case 2: return L"Поведение: берсерк";
        default: return L"";
    }
}

std::wstring CharacterSheet(MainCharacter& h) {
    const std::wstring nl = L"\r\n";
    std::wstring t;
    auto line = [&](const std::wstring& s) { t += s + nl; };
    line(h.PlayerName + L" - Характеристики");
    line(h.Profession == kPrince ? L"Князь" : (h.Profession == kWarlock ? L"Чернокнижник" : L""));
    line(L"");
    line(Alignment(h.Doom));
    line(L"");
    line(L"Уровень:" + Num(h.Level));
    line(L"Экспа:" + Num(h.Exp) + L"/" + Num((h.Level + 1) * 4));
    line(L"");
    line(L"HP:" + Num(h.HP) + L"/" + Num(h.MaxHp));
    line(L"Мана:" + Whole(h.Mana));
    line(L"Вес Персонажа:" + Num(h.HeroeWeight));
    line(L"Вес Предметов:" + Num(h.Weight));
    line(L"Макс. поднимаемый вес:" + Whole(h.MaxWeight));
    const std::wstring tactic = TacticLine(h.HeroeTactic);
    if (!tactic.empty()) line(tactic);
    h.calcPV();
    line(L"Сила Удара:" + Num(h.Weapon));
    line(L"Защита:" + Num(h.Defence));
    line(L"Ускользание от удара:" + Num(h.PV));
    line(std::wstring(25, L'-'));
    line(L"Сила:" + Whole(h.Strenght));
    line(L"Ловкость:" + Whole(h.Mobility));
    line(L"Выносливость:" + Whole(h.HardIness));
    line(L"Телосложение:" + Num(h.Constitution));
    line(L"Чувствительность:" + Num(h.Alertness));
    line(L"Обучение:" + Num(h.Learning));
    line(L"Воля:" + Whole(h.WillPower));
    line(L"Мудрость:" + Num(h.Science));
    line(L"Магия:" + Whole(h.Magic));
    line(L"Обаяние:" + Whole(h.Appearance));
    return t;
}

}  // namespace

void MainCharacter::UpdateLevel() {
    // One level per call at most; surplus experience is dropped.
    if (Exp >= (Level + 1) * 4) {
        Level += 1;
        Exp = 0;
        const int L = Level;
        LevelGains(*this, L);
        Say(L"Вы получили уровень:" + std::to_wstring(L));
    }
    CalcMConst();
}

void MainCharacter::Show_Char() { UI().ShowText(CharacterSheet(*this), true, L"Характеристики"); }

}  // namespace morvath
