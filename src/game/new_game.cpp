#include "game/new_game.h"

#include <algorithm>
#include <array>
#include <exception>

#include "game/items.h"
#include "game/screen.h"
#include "game/weapons.h"
#include "platform/cp1251.h"
#include "platform/files.h"
#include "platform/frontend.h"
#include "platform/random.h"
#include "platform/settings.h"
#include "platform/textforms.h"
#include "script/cscript.h"
#include "script/find_messages.h"
#include "services/compression.h"
#include "services/music.h"
#include "world/equipment.h"
#include "world/game_state.h"
#include "world/hero_sprites.h"
#include "world/quest_flags.h"
#include "world/random_content.h"
#include "world/save_set.h"

namespace morvath {
namespace {

double R() { return Rnd(); }

void Wear(int slot, const std::wstring& name, int type, double balance, const Variant& weaponPlus,
          const Variant& defendPlus, double weight, const Variant& critical = Variant()) {
    auto& row = modVarsAndMain.Equip[static_cast<std::size_t>(slot)];
    row[kEqName] = name;
    row[kEqType] = type;
    row[kEqBalance] = balance;
    if (!weaponPlus.IsEmpty()) row[kEqWeaponPlus] = weaponPlus;
    if (!defendPlus.IsEmpty()) row[kEqDefendPlus] = defendPlus;
    row[kEqWeight] = weight;
    if (!critical.IsEmpty()) row[kEqCritical] = critical;
}

void Carry(const std::wstring& name, const std::wstring& info, int type, double balance, double weaponPlus,
           double critical, double weight, double count) {
    auto item = NewCarried(name, type, info, weight);
    item->itembalance = balance;
    item->WeaponPlus = weaponPlus;
    item->Critical = critical;
    item->ItemCount = count;
}

void SetSkills(std::initializer_list<const wchar_t*> names) {
    auto& g = modVarsAndMain;
    int row = 0;
    for (const wchar_t* n : names) g.Skills[static_cast<std::size_t>(row++)][0] = std::wstring(n);
    g.LastSkillIndex = row - 1;
}

void CopyGameFile(const std::wstring& from, const std::wstring& to) {
    // A missing source is skipped: the archive unpacked later may still supply the file.
    auto bytes = ReadBytes(GamePath(from));
    if (bytes) WriteFileAtomic(GamePath(to), *bytes);
}

// The old save is given up only where the new game can be written: a folder that takes no
// files (read-only, full) keeps the old save untouched and starts nothing.
bool ClearSaveFolder() {
    if (SaveFolderLeadsOut()) return false;
    const fs::path saved = SaveFolder().folder;
    if (!MakeFolders(saved) || !CanWriteIn(saved)) {
        TellTrouble(L"Не удалось записать в папку saved: новая игра не начата. Прежнее сохранение не тронуто.");
        return false;
    }
    if (!DeleteSaveSet()) {
        TellTrouble(FileExists(ResolvePath(saved, L"char.ch"))
                        ? L"Не удалось очистить папку saved: новая игра не начата. Прежнее сохранение не тронуто."
                        : L"Не удалось очистить папку saved: новая игра не начата. Прежнее сохранение удалено.");
        return false;
    }
    RemoveFile(KillLogPath());
    return true;
}

// A missing intro shows an empty viewer rather than ending the start.
std::wstring ReadIntro(const wchar_t* file) {
    return ReadWholeFile(GamePath(std::wstring(L"\\intros\\") + file)).value_or(L"");
}

}  // namespace

void MakePerson(int person) {
    auto& g = modVarsAndMain;
    auto& p = *g.Player;
    auto& world = *g.TheWorld;
    Randomize();
    p.Profession = person;
    switch (person) {
        case kPrince:
            p.HeroeWeight = 85;
            p.HardIness = 1.7;
            p.Strenght = R() + 2;
            p.BeginMaxWeight = 2 * p.Strenght + 65;
            p.MaxHp = Int(2 * R()) + p.Strenght + 8;
            p.Mobility = Int(5 * R()) + 8;
            p.Alertness = Int(5 * R()) + 8;
            p.Constitution = Int(6 * R()) + 10;
            p.Appearance = Int(3 * R() - 1) + 2;
            p.Learning = 1;
            p.WillPower = 2;
            p.Science = 3;
            p.Magic = 0;
            p.Mana = 0;
            p.Doom = 0;
            g.Money = 100;
            Wear(kSlotBody, L"Лёгкая кольчуга", kBody, 0, Variant(), 3, 10);
            Wear(kSlotLegs, L"Меховые сапоги", kLegs, 0, Variant(), 1, 1);
            SetSkills({L"Литература"});
            world.WorldName = L"A1";
            g.PlayerX = 10;
            g.PlayerY = 7;
            g.IntroText = ReadIntro(L"knaz.txt");
            break;
        case kWarlock:
            p.HeroeWeight = 51;
            p.HardIness = 1.0;
            p.Strenght = 1.0;
            p.BeginMaxWeight = 2 * p.Strenght + 20;
            p.MaxHp = Int(2 * R()) + p.Strenght + 2;
            Randomize();
            p.Mobility = Int(5 * R()) + 5;
            p.Alertness = Int(5 * R()) + 7;
            p.Constitution = Int(5 * R());
            p.Appearance = 0;
            p.Learning = 3;
            p.WillPower = 2;
            p.Science = 2;
            p.Magic = Int(5 * R()) + 11;
            p.Mana = 50;
            p.Doom = 3.0;
            Wear(kSlotBody, L"Чёрная роба", kBody, 0, Variant(), 0, 1);
            Wear(kSlotLegs, L"Сапоги", kLegs, 0, Variant(), 2, 1);
            Carry(L"Кольцо злых духов", L"Могущественный артифакт", kRing, -1, 0, 0, 0.3, 0);
            SetSkills({L"Знание трав", L"Литература", L"Алхимия"});
            g.PlayerX = Int(20 * R()) + 10;
            g.PlayerY = 48;
            g.FireballKnown = true;
            Randomize();
            if (Int(7 * R()) == 4) g.LightningKnown = true;
            g.ResurrectionsLeft = Int(5 * R()) + 1;
            g.IntroText = ReadIntro(L"necromancer.txt");
            break;
        case kMonk:
            p.HeroeWeight = 78;
            p.HardIness = 4.0;
            p.Strenght = Int(R() + 1);
            p.BeginMaxWeight = 2 * p.Strenght + 40;
            p.MaxHp = Int(2 * R()) + p.Strenght + 2;
            p.Mobility = Int(5 * R()) + 8;
            p.Alertness = Int(4 * R()) + 8;
            p.Constitution = Int(5 * R()) + 7;
            p.Appearance = Int(3 * R() - 1) + 2;
            p.Learning = 2;
            p.WillPower = 5;
            p.Science = 3;
            p.Magic = Int(5 * R()) + 1;
            p.Mana = 20;
            p.Doom = 0;
            Wear(kSlotBody, L"Монашье одеяние", kBody, 0, Variant(), 0, 1);
            Wear(kSlotLegs, L"Сандали", kLegs, 0, 0, 1, 1);
            Carry(L"Библия", L"Святая Книга", kBook, 1, 0, 0, 1.0, 0);
            SetSkills({L"Заговаривать болезнь", L"Знание трав", L"Литература", L"Летопись"});
            world.WorldName = L"vira";
            g.PlayerX = 13;
            g.PlayerY = 9;
            g.LightningKnown = true;
            g.IntroText = ReadIntro(L"monk.txt");
            CopyGameFile(L"\\intros\\monk.map", L"\\saved\\vchurch.map");
            CopyGameFile(L"\\intros\\monk.crd", L"\\saved\\vchurch.crd");
            CopyGameFile(L"\\intros\\monk.tle", L"\\saved\\vchurch.tle");
            break;
        case kClaw:
            p.HeroeWeight = 69;
            p.HardIness = 1.9;
            p.Strenght = 2.0;
            p.BeginMaxWeight = 2 * p.Strenght + 60;
            p.MaxHp = Int(2 * R()) + p.Strenght + 2 + 5;
            p.Mobility = Int(8 * R()) + 10;
            p.Alertness = Int(8 * R()) + 14;
            p.Constitution = Int(6 * R()) + 10;
            p.Appearance = 0;
            p.Learning = 2;
            p.WillPower = 1;
            p.Science = 1;
            p.Magic = 0;
            p.Mana = 0;
            p.Doom = 2.0;
            g.Money = Int(9 * R()) + 70;
            Wear(kSlotRightHand, L"Кинжал", kWeapon, 0, 5, Variant(), 0.5, 70);
            Wear(kSlotBody, L"Чёрная роба", kBody, 0, Variant(), 0, 1);
            Wear(kSlotLegs, L"Сапоги из кожи твари", kLegs, 0, 0, 1, 1);
            SetSkills({L"Воровство", L"Подстерегать", L"Литература"});
            world.WorldName = L"drsect";
            g.PlayerX = 8;
            g.PlayerY = 9;
            g.QuestFlags[kFlagDragonClaw] = 4;
            g.IntroText = ReadIntro(L"kogot.txt");
            break;
        case kHunter:
            p.HeroeWeight = 79;
            p.HardIness = 3.0;
            p.Strenght = 2.0;
            p.BeginMaxWeight = 2 * p.Strenght + 70;
            p.MaxHp = Int(2 * R()) + p.Strenght + 2 + 5;
            p.Mobility = Int(8 * R()) + 11;
            p.Alertness = Int(8 * R()) + 14;
            p.Constitution = Int(6 * R()) + 10;
            p.Appearance = 0;
            p.Learning = 1;
            p.WillPower = 1;
            p.Science = 1;
            p.Magic = 0;
            p.Mana = 0;
            p.Doom = 0;
            g.Money = 6;
            Wear(kSlotRightHand, L"Кинжал", kWeapon, 0, 5, Variant(), 0.5, 81);
            Wear(kSlotBody, L"Льняная рубаха", kBody, 0, Variant(), 0, 1);
            Wear(kSlotLegs, L"Сапоги из кожи твари", kLegs, 0, 0, 1, 1);
            Carry(L"Удочка", L"Инструмент для рыбной ловли...", kWeapon, 0, 0, 0, 0.8, 0);
            Carry(L"Лук", L"Простой лук", kBow, 0, 1, 80, 0.6, 0);
            Carry(L"Стрела", L"Простой стрелы из дерева", kArrows, 0, 1, 80, 0.6,
                  Int((p.Luck + 2) * R()) + 10);
            SetSkills({L"Стрелять из лука", L"Ловить рыбу", L"Готовить", L"Врачевание", L"Разжигать костер"});
            g.Skills[2][2] = std::wstring(L"Медвежье мясо Волчье мясо");
            world.WorldName = L"vira";
            g.PlayerX = 8;
            g.PlayerY = 9;
            g.LightningKnown = false;
            g.CutSpellKnown = false;
            g.IntroText = ReadIntro(L"hunter.txt");
            break;
        default:
            break;
    }
    if (person != kMonk) {
        CopyGameFile(L"\\intros\\vchurch.map", L"\\saved\\vchurch.map");
        CopyGameFile(L"\\intros\\monk.crd", L"\\saved\\vchurch.crd");
        CopyGameFile(L"\\intros\\monk.tle", L"\\saved\\vchurch.tle");
        CopyGameFile(L"\\intros\\vchurch.lst", L"\\saved\\vchurch.lst");
    }
}

std::wstring PickRandomName(int person) {
    std::array<std::array<std::wstring, 5>, 10> names;
    std::array<int, 10> counts{};
    if (auto reader = TextReader::Open(GamePath(L"\\intros\\names.txt"))) {
        std::wstring line;
        for (int row = 0; row < 10 && reader->ReadLine(line); ++row) {
            // Each line is one comma-separated record of up to five names; a short line
            // offers the names it has.
            TextReader items(EncodeCp1251(line));
            std::wstring name;
            while (counts[static_cast<std::size_t>(row)] < 5 && items.ReadItem(name)) {
                if (!name.empty()) names[static_cast<std::size_t>(row)][static_cast<std::size_t>(counts[static_cast<std::size_t>(row)]++)] = name;
            }
        }
    }
    Randomize();
    if (person < 0 || person >= 10 || counts[static_cast<std::size_t>(person)] == 0) return L"";
    int n = counts[static_cast<std::size_t>(person)];
    return names[static_cast<std::size_t>(person)][static_cast<std::size_t>(Int(n * Rnd()))];
}

bool CreateCharacter(int person, const std::wstring& name, bool keepSaveOnDeath) {
    if (name.empty()) {
        UI().MsgBox(L"Необходимо ввести имя!", MsgButtons::Ok, MsgIcon::None, L"Morvath");
        return false;
    }
    // Only now, with a hero about to be made, is the old save given up.
    if (!ClearSaveFolder()) return false;
    ResetGame();
    auto& g = modVarsAndMain;
    g.CreateRoots();
    // A kept save needs the setting on the disk, so the file is made when missing; without
    // it a missing file already reads as "not kept".
    if (!WriteIni(L"morvath", L"loadfromkill", keepSaveOnDeath ? L"1" : L"0", IniPath(), keepSaveOnDeath) &&
        (keepSaveOnDeath || FileExists(IniPath()))) {
        TellTrouble(L"Не удалось записать файл morvath.ini: выбор о сохранении при смерти забудется после выхода из игры.");
    }
    g.KeepSaveOnDeath = keepSaveOnDeath;
    g.Player->Level = 0;
    g.Player->Luck = 0;
    ApplyCalendarLuck();
    MakePerson(person);
    SetHeroImages(person);
    g.Player->PlayerName = name;
    return true;
}

bool UncompressMaps() {
    clsCompresion archive;
    std::wstring errors = archive.ExtractAll(GamePath(L"\\maps\\data.uni"), GamePath(L"\\saved"));
    if (archive.FilesNotWritten > 0) return false;
    if (errors.empty()) return true;
    if (UI().MsgBox(L"При распаковке карт найдены ошибки. Распаковано всё, что удалось прочитать.\r\nПоказать подробности?",
                    MsgButtons::YesNo, MsgIcon::Question, L"Morvath") == MsgResult::Yes) {
        UI().MsgBox(ErrorsInRussian(errors), MsgButtons::Ok, MsgIcon::None, L"Morvath");
    }
    return true;
}

namespace {

// \scripts\start.scr; nothing when it is missing.
void RunStartScript() { RunScriptFile(L"start.scr"); }

// A stage that fails part-way is skipped like a missing file: the start goes on with what
// the stage managed to do.
template <typename F>
void Guarded(F&& work) {
    try {
        work();
    } catch (const std::exception&) {
    }
}

bool EnterFirstLocation(World& world, long profession) {
    if (profession == kWarlock) {
        // The warlock wakes in a cave of his own; nothing on disk is needed for it.
        world.Generate_Cave_World();
        return true;
    }
    try {
        return world.Load_World();
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

bool InitGame(const StartHooks& hooks) {
    auto& g = modVarsAndMain;
    auto& p = *g.Player;
    auto stage = [&](const wchar_t* caption, int percent) {
        if (hooks.progress) hooks.progress(caption, percent);
        UI().DoEvents();
    };
    stage(L"Определение профессий...", 1);
    if (p.Profession == kWarlock || p.Profession == kMonk) {
        p.MConst = p.Science / 70.0 + p.Magic / 25;
    } else {
        p.MConst = p.Science / 100.0 + p.Magic / 50;
    }
    stage(L"Проверка параметров...", 2);
    if (p.Strenght == 0) p.Strenght = 0.3;
    if (p.HardIness == 0) p.HardIness = 0.3;
    stage(L"Установка параметров...", 5);
    p.HP = p.MaxHp;
    p.Hungry = 1;
    stage(L"Распаковка карт...", 10);
    {
        // Hundreds of location files, one flush of the disk for them all. A world not wholly
        // on the disk is no world to start in.
        SyncBatch batch(GameFolder());
        bool unpacked = false;
        Guarded([&] { unpacked = UncompressMaps(); });
        if (!batch.Finish() || !unpacked) {
            TellTrouble(L"Не удалось записать карты в папку saved: новая игра не начата.");
            return false;
        }
    }
    stage(L"Создание пещер...", 50);
    Guarded(RunStartScript);
    stage(L"Генерация инвентаря...", 80);
    Guarded(GenerateStartInventory);
    stage(L"Загрузка оружия...", 98);
    Guarded(LoadWeaponsTable);
    g.QuestFlags[kFlagRevivalDepth] = Int(10 * Rnd());
    stage(L"Всё почти готово...", 99);

    World& world = *g.TheWorld;
    if (!EnterFirstLocation(world, p.Profession)) {
        UI().MsgBox(L"Не удалось загрузить начальную местность \"" + world.WorldName + L"\".", MsgButtons::Ok,
                    MsgIcon::Critical, L"Morvath");
        return false;
    }
    if (hooks.hideMenu) hooks.hideMenu();
    modMusicEngine::MusicOn = true;
    UI().ShowText(g.IntroText, true);
    p.MaxWeight = p.HardIness + p.Strenght + p.BeginMaxWeight;
    CalculateWeapons();
    if (hooks.showGameScreen) hooks.showGameScreen();
    InitFindMessages();
    WriteFileAtomic(KillLogPath(), "");
    g.FacingDir = 2;
    world.Day = 1;
    p.Show_Status();
    DrawIt();
    return true;
}

bool LoadSavedGame() {
    ResetGame();
    auto& g = modVarsAndMain;
    g.CreateRoots();
    if (!LoadGame()) {
        ResetGame();
        return false;
    }
    g.KeepSaveOnDeath = ReadIni(L"morvath", L"loadfromkill", IniPath()) == L"1";
    // The hero keeps his own looks across a save: a loaded warlock is not drawn as a prince.
    SetHeroImages(g.Player->Profession);
    InitFindMessages();
    LoadWeaponsTable();
    g.FacingDir = 1;
    return true;
}

void GameScreenSize(int& width, int& height) {
    // The settings hold the size in the window units of the original screen (twips, 15 per
    // pixel); a missing or non-positive value keeps the designed size.
    double h = Val(ReadIni(L"morvath", L"wheight", IniPath()));
    double w = Val(ReadIni(L"morvath", L"wwidth", IniPath()));
    if (h <= 0) h = 6900;
    if (w <= 0) w = 8445;
    // A size no screen can show is cut here, before it becomes a whole number; the window
    // is then fitted to the screen it opens on.
    constexpr double kMostPixels = 16384;
    width = static_cast<int>(std::min(w / 15, kMostPixels));
    height = static_cast<int>(std::min(h / 15, kMostPixels));
}

}  // namespace morvath
