#pragma once
// The quest flags by name: each is an index into modVarsAndMain.QuestFlags, the number
// scripts pass to getq and setq. data/README.md's table says what each value means and
// who sets it; every flag there has its name here.
#include <cstddef>

namespace morvath {

enum QuestFlag : std::size_t {
    kFlagSpiderWarrior = 1,    // spider encounters become the lone warrior
    kFlagUralPass = 2,         // the pass through the Ural mountains is open
    kFlagSpiderTramp = 3,      // spider encounters become the tramp Игорь
    kFlagSunRay = 7,           // member of "Солнечный Луч"
    kFlagDragonClaw = 9,       // member of "Коготь Дракона"
    kFlagDragonStone = 10,     // Чёрный Дождь is slain and his stone given
    kFlagEvilRite = 11,        // the sect's master made the rite of the evil spirits
    kFlagAmuletMade = 12,      // the abbot set the stone into the dragon amulet
    kFlagScholarReward = 13,   // the old scholar rewarded the hero
    kFlagTrampAsked = 14,      // the tramp's sister asked the hero to find him
    kFlagWarriorTold = 15,     // the Воевода told of the unknown warrior
    kFlagBlueCarp = 22,        // the blue carp of lm1
    kFlagDeepestCave = 28,     // the deepest cave level reached
    kFlagRevivalDepth = 29,    // the ring of revival's depth offset
    kFlagVoevoda = 30,         // the Воевода of A1
    kFlagMonasteryPrayer = 31, // the brothers prayed for the hero
    kFlagBeggarPrayer = 32,    // the beggar of Новгород prayed for the hero
    kFlagPriestGift = 33,      // отец Феофан gave the hero healing powder
    kFlagOldScholar = 41,      // the black wolf and the old scholar's research
};

}  // namespace morvath
