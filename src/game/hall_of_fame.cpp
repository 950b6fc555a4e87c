#include "game/hall_of_fame.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <system_error>
#include <utility>

#include "platform/cp1251.h"
#include "platform/frontend.h"
#include "platform/random.h"
#include "platform/textforms.h"
#include "services/crypto.h"
#include "services/file_cipher.h"
#include "services/music.h"
#include "world/game_state.h"
#include "world/quest_flags.h"
#include "world/save_set.h"

namespace morvath {
namespace {

// The drawing that heads every deeds file; backslashes are part of the picture.
constexpr std::array<std::wstring_view, 19> kTombstone = {
    LR"~(               _______________________)~",
    LR"~(              /                       \         ___)~",
    LR"~(             /                         \ ___   /   \      ___)~",
    LR"~(            /        Безымянному        \   \  :   :     /   \)~",
    LR"~(           /           Герою             \  : _;,,,;_    :   :)~",
    LR"~(          /                               \,;_          _;,,,;_)~",
    LR"~(         |                                 |   ___)~",
    LR"~(         |                                 |  /   \)~",
    LR"~(         |                                 |  :   :)~",
    LR"~(         |                                 | _;,,,;_   ____)~",
    LR"~(         |       С уважением,              |          /    \)~",
    LR"~(         |          от убийцы Драконов...  |          :    :)~",
    LR"~(         |                                 |          :    :)~",
    LR"~(         |                                 |         _;,,,,;_)~",
    LR"~(         |                                 |)~",
    LR"~(         |       С уважением,              |)~",
    LR"~(         |           от Хаоса...           |)~",
    LR"~(        *|   *     *     *    *   *     *  | *)~",
    LR"~(________)/\\_)_/___(\/___(//_\)/_\//__\\(/_|_)_______)~",
};

const std::wstring kRule = World::RepeatString(L"-", 80);
const std::wstring kIndent(10, L' ');

std::wstring PersonText(int person) {
    if (person >= 0 && person < static_cast<int>(kPersonNames.size())) {
        return std::wstring(kPersonNames[static_cast<std::size_t>(person)]);
    }
    return NumText(person);
}

// The cipher itself works (the pass phrase gives a key and a text enciphers): then a file
// it cannot decipher is damaged, not merely unreadable today.
bool CipherWorks() {
    clsCrypto c(clsCrypto::Quiet);
    c.Password(kFilePassPhrase);
    c.InBuffer("Morvath");
    return c.HashFile() && c.GeneratePasswordKey() && c.EncryptFileData() && c.DestroySessionKey();
}

// A damaged hall of fame is kept for whoever wants to rescue it, under a name no later run
// will take; the name it went to, or nothing.
std::optional<fs::path> MoveAside(const fs::path& file) {
    for (int n = 1; n < 1000; ++n) {
        fs::path aside = file;
        aside += n == 1 ? std::string(".bad") : ".bad" + std::to_string(n);
        std::error_code ec;
        if (fs::exists(fs::symlink_status(aside, ec))) continue;
        if (RenameFile(file, aside)) return aside;
        return std::nullopt;
    }
    return std::nullopt;
}

// What ended the run, after the "и" that leads to it. Death causes have always been written
// with a blank of their own in front (the records on disk hold them so), the endings'
// epitaphs without one: either way one blank stands between.
std::wstring AndWhatEndedIt(std::wstring_view lead, std::wstring_view cause) {
    const std::size_t first = cause.find_first_not_of(L' ');
    return std::wstring(lead) + L" " + std::wstring(first == std::wstring_view::npos ? L"" : cause.substr(first));
}

// A sentence of the deeds file ends in one mark: a cause that ends in its own ("умер от
// голода.", "...на Земле!", "...жизнь...") gets no second one.
std::wstring Sentence(std::wstring text) {
    if (text.empty() || std::wstring_view(L".!?").find(text.back()) == std::wstring_view::npos) text += L'.';
    return text;
}

bool IsForbiddenInFileName(wchar_t c) {
    return c < 32 || c == 127 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos;
}

void TrimName(std::wstring& s) {
    while (!s.empty() && (s.back() == L' ' || s.back() == L'.')) s.pop_back();
    std::size_t first = s.find_first_not_of(L' ');
    s.erase(0, first == std::wstring::npos ? s.size() : first);
}

}  // namespace

fs::path HiscorePath() { return GamePath(L"\\Hiscore"); }

int ScoreOf(const MainCharacter& hero, bool ending, double r) {
    double s = 1;
    if (hero.Exp != 0 || hero.Level != 0) {
        const double level = hero.Level;
        s = std::fabs(Int(Int((hero.Luck + 10.0) * r) + (hero.Exp + 10.0) * level * 4 + level + hero.MaxHp +
                          Int(hero.Mana / 10) + hero.HP - hero.Hungry + hero.Strenght + hero.Learning +
                          hero.HardIness + hero.Magic));
    }
    if (ending) s *= 2;
    if (s != s) return 0;
    return static_cast<int>(std::min(s, static_cast<double>(kMaxScore)));
}

std::wstring DeathCause(const MainCharacter& hero, std::wstring_view enemyName) {
    if (!enemyName.empty()) {
        const std::wstring name(enemyName);
        const std::wstring stem = name.substr(0, name.size() - 1);
        switch (name.back()) {
            case L'а': return L" был убит " + stem + L"ой";
            case L'ь': return name == L"Тварь" ? L" был убит Тварью" : L" был убит " + stem + L"ем";
            case L'й': return L" был убит " + stem + L"м";
            default: return L" был убит " + name + L"ом";
        }
    }
    // Each later test wins over the one before: poison is named before sickness and hunger.
    std::wstring cause = L" умер по неизвестной причине.";
    if (hero.Hungry >= 140) cause = L" умер от голода.";
    if (hero.Sick > 0) cause = L" умер от болезни.";
    if (hero.Poison > 0) cause = L" умер от яда.";
    return cause;
}

std::vector<HallOfFameRecord> ParseHallOfFame(std::string_view plain) {
    std::vector<HallOfFameRecord> records;
    std::size_t pos = 0;
    while (pos < plain.size()) {
        std::size_t end = plain.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = plain.size();
        std::string_view line = plain.substr(pos, end - pos);
        pos = end;
        if (pos < plain.size() && plain[pos] == '\r') ++pos;
        if (pos < plain.size() && plain[pos] == '\n') ++pos;
        if (line.find_first_not_of(" \t") == std::string_view::npos) continue;

        TextReader r{std::string(line)};
        HallOfFameRecord rec;
        double person = 0, score = 0, level = 0;
        if (!r.ReadText(rec.name) || !r.ReadNumber(person) || !r.ReadNumber(score) || !r.ReadNumber(level) ||
            !r.ReadText(rec.cause) || !r.ReadText(rec.epitaph) || !r.AtEnd()) {
            break;
        }
        rec.person = person;
        rec.level = level;
        rec.score = std::clamp(score, 0.0, static_cast<double>(kMaxScore));
        records.push_back(std::move(rec));
    }
    return records;
}

std::string RecordLine(const HallOfFameRecord& record) {
    TextWriter w;
    w.Text(record.name).Number(record.person).Number(record.score).Number(record.level);
    w.Text(record.cause).Text(record.epitaph).EndRecord();
    return w.bytes();
}

std::vector<std::wstring> ListLines(const HallOfFameRecord& record) {
    return {
        record.name + L" - " + PersonText(record.person),
        L"Достиг уровня:" + NumText(record.level) + L" и набрал " + NumText(record.score) + L" очков.",
        AndWhatEndedIt(L"И", record.cause != L"#" ? record.cause : record.epitaph),
        L" ",
    };
}

fs::path DeedsFilePath(std::wstring_view playerName) {
    std::wstring stem(playerName);
    for (auto& c : stem) {
        if (IsForbiddenInFileName(c)) c = L'_';
    }
    TrimName(stem);
    // Long enough for any real name, short enough for any file system.
    if (stem.size() > 100) {
        stem.resize(100);
        TrimName(stem);
    }
    if (stem.empty()) stem = L"Герой";
    // What is left can only be a device name ("CON") or hold "..": harmless as one name,
    // and a leading "_" makes either an ordinary file.
    if (!IsPlainName(stem)) stem.insert(0, L"_");
    return GameFolder() / fs::path(ToUtf8(stem + L".dth"));
}

std::wstring AlignmentSentence(double doom) {
    return AlignmentText(doom, {L"Он преклонялся перед духами Добра", L"Духи Добра расположены к нему..",
                                L"Он склонялся к духам Добра", L"Он находился на перепутье между Духами",
                                L"Он склонялся в сторону Духов Зла", L"Им владели Духи Зла"});
}

std::vector<std::wstring> ReadKillLog() {
    std::vector<std::wstring> names;
    auto r = TextReader::Open(KillLogPath());
    if (!r) return names;
    std::wstring name;
    while (r->ReadItem(name)) names.push_back(name);
    return names;
}

std::vector<std::wstring> DeedsLines(int score, const std::wstring& cause) {
    const auto& g = modVarsAndMain;
    if (!g.Player) return {};
    const MainCharacter& hero = *g.Player;
    std::vector<std::wstring> out(kTombstone.begin(), kTombstone.end());
    out.insert(out.end(), {L"", L"", kRule, hero.PlayerName + L", " + PersonText(static_cast<int>(hero.Profession)),
                           kRule, L"", kRule, L"Его деяния:", kRule, L""});
    out.push_back(Sentence(AndWhatEndedIt(L"Он набрал " + NumText(score) + L" очка(ов) и", cause)));
    out.push_back(L"Он достиг уровня " + NumText(hero.Level) + L".");
    out.push_back(AlignmentSentence(hero.Doom) + L".");
    out.push_back(L"Он путешествовал " + NumText(g.TheWorld ? static_cast<double>(g.TheWorld->Day) : 0) + L" дней.");
    if (g.QuestFlags[kFlagDragonClaw] > 1) out.push_back(L"Он был последователем секты 'Коготь Дракона'.");
    if (g.QuestFlags[kFlagSunRay] > 1) out.push_back(L"Он был последователем секты 'Солнечный Луч'.");
    if (g.QuestFlags[kFlagOldScholar] == 2) {
        out.push_back(L"Он убил черного волка и помог одному сумашедшему старику завершить свои исследования.");
    }
    if (g.Money > 1) out.push_back(L"Его состояние: " + NumText(g.Money) + L" монет.");
    out.push_back(L"Его вещи:");
    out.push_back(L"");

    // The neck is not listed.
    const std::pair<int, const wchar_t*> slots[] = {{kSlotHead, L"Голова: "},
                                                    {kSlotRightHand, L"Правая рука: "},
                                                    {kSlotLeftHand, L"Левая рука: "},
                                                    {kSlotBody, L"Тело: "},
                                                    {kSlotLegs, L"Ноги: "}};
    for (const auto& [slot, label] : slots) {
        const auto& e = g.Equip[static_cast<std::size_t>(slot)];
        out.push_back(kIndent + label + e[kEqName].ToText() + L"[" + e[kEqWeaponPlus].ToText() + L"," +
                      e[kEqDefendPlus].ToText() + L"]" + L"  [" + e[kEqWeight].ToText() + L"кг.]");
    }
    out.push_back(L"");

    if (g.Inventory) {
        for (const auto& item : *g.Inventory) {
            std::wstring detail;
            switch (static_cast<int>(item->ItemType)) {
                case kWeapon:
                case kShield:
                case kLegs:
                case kBody:
                case kHead:
                    detail = L"(" + NumText(item->WeaponPlus) + L"," + NumText(item->DefendPlus) + L") [" +
                             NumText(item->Critical) + L"%]";
                    break;
                default: break;
            }
            out.push_back(kIndent + item->ItemName + detail + L" [" + NumText(item->Weight) + L"кг.]" + L" (" +
                          NumText(item->ItemCount + 1) + L"шт.)");
        }
    }

    out.push_back(L"Он уничтожил " + NumText(hero.dMonsters) + L" существ...");
    out.push_back(L"Вот полная летопись их имен:");
    for (const auto& name : ReadKillLog()) out.push_back(kIndent + name);
    return out;
}

HallOfFameRecord HallOfFame::RunRecord() {
    const auto& g = modVarsAndMain;
    const MainCharacter& hero = *g.Player;
    const auto& request = g.hallOfFame;
    const bool ending = !request.win.empty();
    HallOfFameRecord rec;
    rec.name = hero.PlayerName;
    rec.person = static_cast<double>(hero.Profession);
    rec.level = hero.Level;
    rec.score = score = runScore_ = ScoreOf(hero, ending, Rnd());
    cause = runCause_ = ending ? request.win : DeathCause(hero, request.EnemyName);
    rec.cause = ending ? L"#" : cause;
    rec.epitaph = ending ? request.win : L"";
    return rec;
}

void HallOfFame::AddHallOfFame(std::string& plain) {
    if (!modVarsAndMain.Player) return;
    // A text whose last line has no line end would swallow the new record into it.
    if (!plain.empty() && plain.back() != '\n') plain += "\r\n";
    plain += RecordLine(RunRecord());
    recorded_ = true;
}

void HallOfFame::LoadHallOfFame(std::string_view plain) {
    for (const auto& rec : ParseHallOfFame(plain)) {
        for (auto& line : ListLines(rec)) List1.push_back(std::move(line));
        score = rec.score;
        cause = rec.cause;
        epitaph = rec.epitaph;
    }
}

bool HallOfFame::WriteDeedsFile() {
    if (!modVarsAndMain.Player) return false;
    std::string text;
    for (const auto& line : DeedsLines(runScore_, runCause_)) text += EncodeCp1251(line) + "\r\n";
    const fs::path path = DeedsFilePath(modVarsAndMain.Player->PlayerName);
    if (WriteFileAtomic(path, text)) return true;
    TellTrouble(L"Не удалось записать файл " + FromUtf8(path.filename().string()));
    return false;
}

std::optional<std::string> HallOfFame::ReadRecords(const fs::path& file) const {
    if (!FileExists(file)) return std::string();
    const std::wstring unrecorded = writehf_ ? L" Этот герой в него не записан." : L"";
    auto bytes = ReadBytes(file);
    if (!bytes) {
        TellTrouble(L"Не удалось прочитать файл Hiscore: он оставлен как есть." + unrecorded);
        return std::nullopt;
    }
    if (auto plain = DecryptText(*bytes)) return plain;
    // Records must never be added to a file that was not deciphered: the old runs would
    // turn into permanent garbage at the top of the list. A damaged file goes aside and a
    // new hall of fame starts; with a cipher that does not work at all, nothing is touched.
    if (!CipherWorks()) {
        TellTrouble(L"Не удалось расшифровать файл Hiscore: шифр не работает. Файл оставлен как есть." + unrecorded);
        return std::nullopt;
    }
    const auto aside = MoveAside(file);
    if (!aside) {
        TellTrouble(L"Файл Hiscore повреждён, и отложить его не удалось: он оставлен как есть." + unrecorded);
        return std::nullopt;
    }
    TellTrouble(L"Файл Hiscore повреждён. Он сохранён как " + FromUtf8(aside->filename().string()) + L", начат новый Зал Славы.");
    return std::string();
}

bool HallOfFame::WriteRecords(const fs::path& file, std::string_view plain) {
    auto enciphered = EncryptText(plain);
    if (!enciphered) {
        TellTrouble(L"Не удалось зашифровать Зал Славы: файл Hiscore оставлен как есть.");
        return false;
    }
    if (WriteFileAtomic(file, *enciphered)) return true;
    // A full disk is no damage: the hall of fame stays as it was, and the player knows.
    TellTrouble(L"Не удалось записать файл " + FromUtf8(file.filename().string()));
    return false;
}

void HallOfFame::Open() {
    auto& g = modVarsAndMain;
    writehf_ = g.hallOfFame.writehf;
    recorded_ = false;
    List1.clear();

    // Deciphered, extended and enciphered again in memory: the plain records never touch
    // the disk, and the file is replaced whole or not at all.
    const fs::path file = HiscorePath();
    std::optional<std::string> plain = ReadRecords(file);
    if (writehf_ && g.Player) {
        if (plain) AddHallOfFame(*plain);
        else RunRecord();  // not recorded, yet the deeds file still tells the run's score
    }
    if (plain) {
        LoadHallOfFame(*plain);
        if (recorded_) WriteRecords(file, *plain);
    }

    modMusicEngine::MidiClose();
    modMusicEngine::MusicName = L"\\music\\music.mid";
    modMusicEngine::PlayMusic();

    if (writehf_ && g.Player &&
        UI().MsgBox(L"Хотите создать файл описания деяний вашего персонажа?", MsgButtons::YesNo, MsgIcon::None,
                    L"Morvath") == MsgResult::Yes) {
        WriteDeedsFile();
    }
    // Viewed from the start menu, the kill log still belongs to a saved game in progress.
    if (writehf_) RemoveFile(KillLogPath());
}

bool HallOfFame::Close() {
    modMusicEngine::MidiClose();
    return writehf_;
}

}  // namespace morvath
