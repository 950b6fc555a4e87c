#include "world/main_character.h"

#include <memory>

#include "platform/frontend.h"
#include "platform/random.h"
#include "world/game_over.h"
#include "world/game_state.h"
#include "world/speech.h"
#include "world/turn.h"

namespace morvath {
namespace {

std::wstring& InfoLine() { return modVarsAndMain.screen.lblII; }

std::wstring Whole(double v) { return NumText(Int(v)); }

// The death notice. `PlayerDead` stands for the hall of fame already being on its way: a
// hero who is already dead is not announced, and game over is not run, a second time.
void AnnounceDeath() {
    if (modVarsAndMain.PlayerDead) return;
    modVarsAndMain.PlayerDead = true;
    UI().MsgBox(L"Вы умерли!", MsgButtons::Ok, MsgIcon::None, L"");
    GameOver();
}

enum class LoadBand { Light, Loaded, Overloaded, TooHeavy };

// The carried weight W against the limit M. W = M / 1.4 exactly falls between the two
// overload bands and costs nothing.
LoadBand BandOf(const MainCharacter& h) {
    const double w = h.Weight, m = h.MaxWeight;
    if (w <= m / 2) return LoadBand::Light;
    if (w > m / 2 && w < m / 1.4) return LoadBand::Loaded;
    if (w > m / 1.4 && w < m) return LoadBand::Overloaded;
    if (w >= m) return LoadBand::TooHeavy;
    return LoadBand::Light;
}

// The three tests are separate: above 4400 all three texts are spoken, in this order.
void FatigueTexts(MainCharacter& h) {
    if (h.Tired > 3700) Say(L"Вы чувствуете себя усталым...");
    if (h.Tired > 4200) Say(L"Вы Валитесь с ног от усталости");
    if (h.Tired > 4400) {
        Say(L"Вы внезапно заснули...");
        h.LetsSleep();
    }
}

}  // namespace

void MainCharacter::CalcMConst() {
    if (Profession == kWarlock || Profession == kMonk) {
        MConst = Science / 70.0 + Magic / 25;
    } else {
        MConst = Science / 100.0 + Magic / 50;
    }
}

void MainCharacter::DoChanges() {
    if (Mana + MConst < Magic * 20) Mana += MConst;
    MaxWeight = HardIness + Strenght + BeginMaxWeight;
    if (!Sleep) CheckTired();
    UpdateLevel();
    UpdateHP();
    UpdateHungry();
    Show_Status();
    if (Sick != 0) {
        InfoLine() += L" Болен";
        HP = HP - Int(Sick / 2.0);
        Sick -= 1;
    }
    if (Poison != 0) {
        InfoLine() += L" Отравлен";
        HP = HP - Int(Poison / 4.0);
        Poison -= 1;
    }
    UI().Redraw();
}

void MainCharacter::UpdateHP() {
    if (HP < 1) {
        modVarsAndMain.hallOfFame.writehf = true;
        AnnounceDeath();
    }
    if (HP < MaxHp) {
        const double r = (Constitution + HardIness + Strenght) / 80;
        regenerationCarry = r;
        if (HP + r < MaxHp) {
            HP = HP + r;
        } else {
            HP += 1;
        }
    }
}

void MainCharacter::UpdateHungry() {
    if (Sleep) return;
    // With HardIness at -1 the statement fails and is skipped.
    if (HardIness + 1 != 0) Hungry = (Constitution + Strenght) / (HardIness + 1) + Hungry;
    if (Hungry <= -20) {
        InfoLine() += L"Объетый";
    } else if (Hungry < 100) {
        InfoLine() += L"Сытый";
    } else if (Hungry < 3000) {
        // neither hungry nor full
    } else if (Hungry < 4500) {
        InfoLine() += L"Вам хочеться есть...";
        HardIness += 0.0001;
    } else {
        InfoLine() += L"Вы умираете с голоду!";
        HardIness += 0.001;
        UI().Beep();
        HP = HP - Rnd() * 4;
    }
}

void MainCharacter::DoChangesWild() {
    if (Mana + MConst * 10 < Magic * 20) Mana += MConst * 10;
    MaxWeight = Strenght + HardIness + BeginMaxWeight;
    UpdateLevel();

    Hungry = 25 * (Constitution / 10.0 + Strenght - HardIness) + Hungry + 25;
    if (Hungry < 100) InfoLine() = L"Сытый";
    if (Hungry < -19) InfoLine() = L"Объетый";
    if (Hungry >= 2500 && Hungry < 3500) {
        InfoLine() = L"Вам хочеться есть...";
        HardIness += 0.006;
    } else if (Hungry >= 3500) {
        InfoLine() = L"Вы умираете с голоду!";
        HardIness += 0.01;
        UI().Beep();
        HP -= 1;
    }

    if (Sick != 0) {
        InfoLine() += L" Болен";
        HP -= static_cast<double>(Sick);
        Sick -= 1;
    }
    if (Poison != 0) {
        InfoLine() += L" Отравлен";
        HP = HP - Int(Poison / 2.0);
        Poison -= 1;
    }
    if (HP <= 0) AnnounceDeath();

    regenerationCarry += (2 * HardIness + Strenght) / 10;
    if (HP < MaxHp && regenerationCarry >= 1) {
        HardIness += 0.001;
        HP += 1;
        regenerationCarry = 0;
    }

    // Each sleeping turn on the wilderness map is a wilderness step; were fatigue to
    // accrue here as well, a heavy load would keep the hero asleep for ever and start a
    // sleep inside the sleep. The ordinary turn skips fatigue while asleep; so does this.
    if (!Sleep) {
        Tired += TiredConst * 10.0;
        FatigueTexts(*this);
    }
    Show_Status();
}

void MainCharacter::CheckTired() {
    Tired += static_cast<double>(TiredConst);
    FatigueTexts(*this);
}

void MainCharacter::LetsSleep() {
    // The turns below may replace what the globals hold; the sleeper stays alive until
    // he wakes.
    std::shared_ptr<MainCharacter> keep;
    if (modVarsAndMain.Player.get() == this) keep = modVarsAndMain.Player;
    Sleep = true;
    double counter = Tired - 1;
    while (counter > 0 && !modVarsAndMain.PlayerDead) {
        Do_Change_Of_World();
        UI().Redraw();
        UI().DoEvents();
        if (HP < MaxHp) HP += 1;
        if (Profession == kWarlock) Mana += 1;
        Tired -= 50;
        counter = Tired;
    }
    Sleep = false;
    Say(L"Вы проснулись!");
}

void MainCharacter::DoWeight() {
    const auto& g = modVarsAndMain;
    Weight = g.Money * 0.001;
    if (g.Inventory) {
        for (const auto& item : *g.Inventory) Weight += (item->ItemCount + 1) * item->Weight;
    }
    for (const auto& slot : g.Equip) Weight += slot[kEqWeight].ToNumber();
    TiredConst = Weight / 10;
}

bool MainCharacter::CheckWeight() {
    switch (BandOf(*this)) {
        case LoadBand::Loaded:
            InfoLine() += L" Перегружен";
            HardIness += 0.007;
            Strenght += 0.001;
            Hungry = Hungry + 0.5;
            Tired = TiredConst / 2.0 + Tired;
            return true;
        case LoadBand::Overloaded:
            InfoLine() += L" Сильно Перегружен";
            HardIness += 0.009;
            Strenght += 0.003;
            Hungry += 1;
            Tired += static_cast<double>(TiredConst);
            return true;
        case LoadBand::TooHeavy:
            return false;
        case LoadBand::Light:
            break;
    }
    return true;
}

void MainCharacter::calcPV() {
    PV = Mobility - Constitution - Tired / 1000.0 - 2.0 * HeroeTactic;
    switch (BandOf(*this)) {
        case LoadBand::Loaded: PV -= 1; break;
        case LoadBand::Overloaded: PV -= 5; break;
        case LoadBand::TooHeavy: PV -= 10; break;
        case LoadBand::Light: break;
    }
}

void MainCharacter::Show_Status() {
    const World* w = modVarsAndMain.TheWorld.get();
    std::wstring s = L"ХП: " + std::to_wstring(HP.value()) + L" Опыт:" + std::to_wstring(Exp.value()) +
                     L"  Ур:" + std::to_wstring(Level.value()) +
                     L"  День:" + std::to_wstring(w ? w->Day.value() : 0) +
                     L" Ход:" + std::to_wstring(w ? w->Turn.value() : 0) + L"  Мана:";
    if (Mana > 0) s += Whole(Mana);
    modVarsAndMain.screen.lblInfo = s;
}

std::wstring AlignmentText(double doom, const std::array<std::wstring_view, 6>& sentences) {
    int band = -1;
    if (doom < -10) band = 0;
    else if (doom < -5) band = 1;
    else if (doom <= -1) band = 2;
    else if (doom == 0) band = 3;
    else if (doom > 10) band = 5;
    else if (doom > 1) band = 4;
    return band < 0 ? L"" : std::wstring(sentences[static_cast<std::size_t>(band)]);
}

}  // namespace morvath
