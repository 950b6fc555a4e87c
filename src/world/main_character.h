#pragma once
// The hero: attributes and counters, and the upkeep that runs once per game turn.
#include <array>
#include <string>
#include <string_view>

#include "platform/numbers.h"

namespace morvath {

// The five persons (`MainCharacter::Profession`).
enum Profession : int {
    kPrince = 0,   // "Князь"
    kWarlock = 1,  // "Чернокнижник"
    kMonk = 2,     // "Монах"
    kClaw = 3,     // "Коготь"
    kHunter = 4,   // "Охотник"
};
// The persons' names, by Profession.
inline constexpr std::array<std::wstring_view, 5> kPersonNames = {L"Князь", L"Чернокнижник", L"Монах", L"Коготь",
                                                                   L"Охотник"};

struct MainCharacter {
    std::wstring PlayerName;
    Integer Level;
    Integer Exp;
    double Strenght = 0;
    double HardIness = 0;
    double Mobility = 0;
    Integer Constitution;
    double WillPower = 0;
    Integer Learning;
    Integer Science;
    Integer Alertness;
    double Magic = 0;
    double Appearance = 0;
    Integer HP;
    Integer Tired;
    Integer TiredConst;
    double Mana = 0;
    Integer MaxHp;
    double Doom = 0;              // below 0 good, above 0 evil
    double MaxWeight = 0;
    double BeginMaxWeight = 0;
    Integer Luck;
    double HeroeWeight = 0;
    double Weight = 0;
    Integer PV;
    Long HeroeTactic;             // -2 stealthy .. 2 berserk
    bool Sleep = false;
    double Weapon = 0;
    double Defence = 0;
    double Critical = 0;
    Integer Sick;
    Integer Poison;
    Integer Hungry;
    double MConst = 0;
    Long Profession;
    Integer dMonsters;

    void UpdateHP();
    void UpdateHungry();
    void UpdateLevel();
    void DoChanges();
    void Show_Status();
    void DoChangesWild();
    void Show_Char();
    bool CheckWeight();
    void DoWeight();
    void CheckTired();
    void LetsSleep();
    void calcPV();
    // MConst by person: the formula of every turn, also run after a load.
    void CalcMConst();

    double regenerationCarry = 0;  // fractional regeneration carried between turns
};

// Where the hero's Doom leans: the sentence of its band, from bowing before the spirits of
// Good (Doom < -10) to being possessed by the spirits of Evil (Doom > 10); "" between the
// bands, where nothing is said (-1 < Doom < 0 and 0 < Doom <= 1).
std::wstring AlignmentText(double doom, const std::array<std::wstring_view, 6>& sentences);

}  // namespace morvath
