#include "script/story.h"

#include "platform/cp1251.h"
#include "platform/frontend.h"
#include "platform/numbers.h"
#include "platform/random.h"
#include "world/game_over.h"
#include "world/game_state.h"
#include "world/item.h"
#include "world/main_character.h"
#include "world/speech.h"

namespace morvath {
namespace {

void Tell(const std::wstring& text) { UI().MsgBox(text, MsgButtons::Ok, MsgIcon::None, L"Morvath"); }

// An ending is the end of the run whoever the hero is: the epitaph marks the record as won.
void EndWith(const std::wstring& epitaph) {
    modVarsAndMain.hallOfFame.win = epitaph;
    GameOver();
}

void Reweigh() {
    if (modVarsAndMain.Player) modVarsAndMain.Player->DoWeight();
}

const wchar_t kMagus[] = L"Волхв:";
const wchar_t kTrader[] = L"Торговец:";

void MagusTalk() {
    struct Answer {
        const wchar_t* keyword;
        const wchar_t* reply;
    };
    static const Answer kAnswers[] = {
        {L"здравствуй", L"Здравствуй сынок!"},
        {L"камень", L"О...Камень драконов...О нём неизвестно ничего, кроме того, что Чёрный Дождь спрятал его в "
                    L"Уральских горах..."},
        {L"чёрный дождь", nullptr},
        {L"черный дождь", nullptr},
        {L"волхв", L"Мы - волхвы...Вечные отшельники, кладовые мудрости и знаний.Мы существовали всегда и без нас бы "
                   L"исчез род человеческий..."},
        {L"спасибо", L"Не за что, сын мой..."},
    };
    static const std::wstring kLegend =
        L"Слушай же легенду,сынок:Давным - давно на Земле была битва Злых и Добрых Духов...Но вскоре духи поняли, что "
        L"они устали от борьбы...И создали Драконов - чтобы те продолжили незакончившуюся битву...Вскоре драконы Злых "
        L"Духов были уничтожены, а оставшиеся драконы ушли в пещеры, чтобы отдохнуть и подумать о дальнейших "
        L"делах...И придумали - везде установить вечный Порядок.Тут-то и произошел раскол среди Драконов - один из них "
        L"- Черный Дождь, считал что Вечный Порядок принесёт только скуку и дальнейшее движение Вперёд "
        L"прекратится...Драконы в Горячем споре прогнали его...И тут Черный Дождь вспомнил ,что когда Духи создавали "
        L"Драконов, Они(Духи) создали Драконий камень,благодаря которому Драконы жили Вечно.И Черный Дождь похитил "
        L"этот камень из соображений мести.И Битва Драконов за амулет была ужасной.Моря Вышли из берегов.Когда Черный "
        L"Дождь понял, что его побеждают он спрятал камень в Уральских Горах.Побежденный Черный Дождь "
        L"проклял остальных Драконов и заснул на 6000 лет...И вот теперь появились слухи, что он проснулся...";
    const std::wstring question = LowerText(UI().InputBox(L"О чём ты хочешь спросить меня сынок?", L"Morvath", L""));
    Say(L"Я не расслышыл или не понял вопроса...", kMagus);
    // Each keyword heard answers in turn; the last one found is the answer left on screen.
    for (const Answer& a : kAnswers) {
        if (question.find(a.keyword) != std::wstring::npos) Say(a.reply ? std::wstring(a.reply) : kLegend, kMagus);
    }
}

void TraderTalk() {
    auto& g = modVarsAndMain;
    Say(L"Добро пожаловать в мою лавку!Хотите ли вы продать какое-либо оружие(щиты,мечи,кольчуги,сапоги,шлемы или "
        L"что-нибудь подобное)?",
        kTrader);
    if (g.GivenItemIndex == 0 || !g.Inventory) return;
    auto item = g.Inventory->Item(g.GivenItemIndex);
    if (!item) return;
    Randomize();
    const int r = static_cast<int>(Int(Rnd() * 10));
    const long type = item->ItemType;
    if (type != kHead && type != kLegs && type != kBody && type != kWeapon && type != kShield) {
        Say(L"Я такого не покупаю!", kTrader);
        return;
    }
    const long price = r + 10L * item->DefendPlus + 10L * item->WeaponPlus;
    const std::wstring offer = L"Я дам за " + item->ItemName + L" - " + NumText(static_cast<double>(price)) + L" монет.Продаёте?";
    if (UI().MsgBox(offer, MsgButtons::YesNo, MsgIcon::Question, L"Торговец") != MsgResult::Yes) return;
    g.Money = static_cast<double>(g.Money) + static_cast<double>(price);
    // One price buys one piece: the rest of a stack stays with the hero.
    if (item->ItemCount >= 1) {
        item->ItemCount -= 1;
    } else {
        g.Inventory->Remove(item);
    }
    Reweigh();
}

void TorchSellerTalk() {
    auto& g = modVarsAndMain;
    Say(L"Здравствуй Добрый Человек...Не хочешь приобрести охотничьи принадлежности?", kTrader);
    const std::wstring order = LowerText(UI().InputBox(L"Что Купить?[факел-100монет]", L"Morvath", L""));
    Say(L"Не понял вашего заказа...", L"");
    if (order.find(L"факел") == std::wstring::npos || !g.Inventory) return;
    if (g.Money < 100) {
        Say(L"У Вас мало денег - нужно 100 монет...", L"");
        return;
    }
    auto torch = g.Inventory->Add();
    torch->ItemName = L"Факел";
    torch->ItemType = kWeapon;
    torch->ItemInfo = L"Освещает тёмные помещения...";
    torch->itembalance = 0;
    torch->ItemScript = L"fakel.itm";
    g.CurItem = torch;
    Say(L"Держи!", L"");
    g.Money = g.Money - 100;
    Reweigh();
}

}  // namespace

void EndingEvilStone() {
    Tell(L"Вы начали использовать камень...Слышите странные звуки...");
    Tell(L"Сила камня при помощи злых Духов проникла в Вас!!! И Теперь на Земле нет человека сильнее Вас!...ПОБЕДА!!!"
         L"...Верно служа злым Духам вы наводите ужас на весь мир...Пока не появится новый Герой...");
    EndWith(L"закончил своё путешествие Героем злых духов - их наместником на Земле!");
}

void EndingGoodStone() {
    Tell(L"Вы подгтовились к обряду освящения камня...Вы едва начали окрапливать его святой водой, вознося молитвы как "
         L"вдруг...");
    Tell(L"Громовой Голос: Драконы теперь подвластны Богу!");
    const MainCharacter* hero = modVarsAndMain.Player.get();
    const std::wstring omen = L"Во всех церквях мира священникам явилось знамение - знамение о том, как вы усмирили "
                              L"Драконов...В лучах славы, Героем ";
    if (hero && hero->Profession == kMonk) {
        Tell(omen + L"вы вернулись к себе в монастырь и почитаемый всеми посветили остаток жизни служению Богу и "
                    L"летописи...");
        EndWith(L"Героем вы вернулись к себе в монастырь и почитаемый всеми посветили остаток жизни служению Богу и "
                L"летописи...");
        return;
    }
    Tell(omen + L"вы прожили свою жизнь...И появилась такое высказывание: Храбр как " + (hero ? hero->PlayerName : L"") +
         L"!");
    EndWith(L"В лучах славы, Героем вы прожили свою жизнь...");
}

void SpecialNpcTalk(const std::wstring& kind) {
    if (!IsNumeric(kind)) return;
    const double k = Val(kind);
    if (k == 0) {
        MagusTalk();
    } else if (k == 1) {
        TraderTalk();
    } else if (k == 2) {
        TorchSellerTalk();
    }
}

}  // namespace morvath
