#include "ui/game_screen.h"
#include "ui/theme.h"

#include <QCloseEvent>
#include <QResizeEvent>
#include <QGuiApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "game/fight.h"
#include "game/keymap.h"
#include "game/screen.h"
#include "game/spells.h"
#include "ui/fight_panel.h"
#include "ui/keys.h"
#include "ui/pictures.h"
#include "ui/qt_frontend.h"
#include "ui/qt_text.h"
#include "world/game_state.h"
#include "world/npc.h"

namespace morvath::ui {
namespace {

frmGame*& Instance() {
    static frmGame* screen = nullptr;
    return screen;
}

constexpr int kPanelWidth = 300;

QString Display(const std::wstring& text) {
    QString s = Q(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return s;
}

}  // namespace

// ---------------------------------------------------------------- the view

ViewWidget::ViewWidget(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    SetScale(1);
}

void ViewWidget::SetScale(int scale) {
    scale_ = std::max(1, scale);
    // The view may be squeezed to its own size while the window shrinks, so the window can
    // always be made smaller; it never grows past its scale.
    setMinimumSize(View::kPixels, View::kPixels);
    setMaximumSize(View::kPixels * scale_, View::kPixels * scale_);
    updateGeometry();
    update();
}

QSize ViewWidget::sizeHint() const { return {View::kPixels * scale_, View::kPixels * scale_}; }

QImage ViewWidget::Render() const { return RenderView(modVarsAndMain.gameScreen.view); }

QImage RenderView(const View& view) {
    QImage image(View::kPixels, View::kPixels, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    // Row by row from the top left, each picture at its own size: a picture a pixel or two
    // larger than its cell lies under the next cell's picture, as the game has always drawn.
    for (int row = 0; row < View::kCells; ++row) {
        for (int col = 0; col < View::kCells; ++col) {
            p.drawImage(col * View::kCellPixels, row * View::kCellPixels, Pictures().Get(view.At(col, row)));
        }
    }
    if (view.heroShown) {
        const int at = View::kHeroCell * View::kCellPixels;
        p.drawImage(at, at, Pictures().Get(view.hero));
    }
    // A flight whose picture is missing goes on unseen rather than as a black square.
    if (view.flyingShown && !Pictures().Missing(view.flying)) p.drawImage(view.flyingX, view.flyingY, Pictures().Get(view.flying));
    return image;
}

void ViewWidget::paintEvent(QPaintEvent*) {
    // Whole screen pixels per picture pixel, also on a screen with a fractional pixel ratio,
    // and no smoothing: tiles stay sharp.
    const qreal ratio = devicePixelRatioF();
    const int n = std::max(1, static_cast<int>(std::floor(scale_ * ratio + 0.01)));
    QImage big = Render().scaled(View::kPixels * n, View::kPixels * n, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    big.setDevicePixelRatio(ratio);
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    p.drawImage(0, 0, big);
}

// ---------------------------------------------------------------- the screen

frmGame::frmGame() {
    setWindowTitle(QStringLiteral("Morvath"));
    setObjectName(QStringLiteral("frmGame"));
    setStyleSheet(GameStyleSheet());

    pic = new ViewWidget(this);
    lblII = new QLabel(this);
    lblInfo = new QLabel(this);
    for (QLabel* l : {lblII, lblInfo}) {
        l->setMinimumHeight(l->fontMetrics().height() + 4);
        l->setTextFormat(Qt::PlainText);
    }

    imgPlayer = new QLabel(this);
    imgPlayer->setAlignment(Qt::AlignCenter);

    frmFight = new ui::frmFight(this);
    connect(frmFight, &ui::frmFight::acted, this, [this] { Refresh(); });

    frmSpells = new QGroupBox(QStringLiteral("Заклинания"), this);
    auto* spells = new QVBoxLayout(frmSpells);
    for (std::size_t i = 0; i <= kSpells.size(); ++i) {
        const QString caption = i < kSpells.size() ? Q(std::wstring(kSpells[i].caption)) : QStringLiteral("Закрыть");
        lblS[i] = new QRadioButton(caption, frmSpells);
        spells->addWidget(lblS[i]);
    }

    lstAttribs = new QListWidget(this);
    lstAttribs->setMinimumHeight(120);
    connect(lstAttribs, &QListWidget::currentRowChanged, this,
            [](int row) { modVarsAndMain.gameScreen.skills.ListIndex = row; });
    connect(lstAttribs, &QListWidget::itemDoubleClicked, this, [this] { Run([] { ChooseSkill(); }); });

    frmSpeech = new QGroupBox(QStringLiteral("Speech..."), this);
    txtSpeech = new QPlainTextEdit(frmSpeech);
    txtSpeech->setReadOnly(true);
    txtSpeech->setMinimumHeight(110);
    auto* speech = new QVBoxLayout(frmSpeech);
    speech->addWidget(txtSpeech);

    auto* left = new QVBoxLayout;
    left->addWidget(pic);
    left->addWidget(lblII);
    left->addWidget(lblInfo);
    left->addStretch(1);
    // Every panel has its own place in the side column: a fight, the spell list and a speech
    // can all be on screen at once without covering each other or the view.
    auto* right = new QVBoxLayout;
    right->addWidget(imgPlayer);
    right->addWidget(frmFight);
    right->addWidget(frmSpells);
    right->addWidget(lstAttribs);
    right->addWidget(frmSpeech, 1);
    right->addStretch(0);
    auto* side = new QWidget(this);
    side->setLayout(right);
    side->setFixedWidth(kPanelWidth);
    // The view and its side column stay together in the middle of a wide window.
    auto* top = new QHBoxLayout(this);
    top->addStretch(1);
    top->addLayout(left);
    top->addWidget(side);
    top->addStretch(1);

    for (QWidget* w : std::initializer_list<QWidget*>{this, pic, txtSpeech, lstAttribs, frmFight->btnStrike,
                                                       frmFight->btnMage, frmFight->cmdRun, frmFight->cmdAuto}) {
        Watch(w);
    }
    for (QRadioButton* b : lblS) Watch(b);
    txtSpeech->viewport()->installEventFilter(this);

    frmFight->hide();
    frmSpells->hide();
    lstAttribs->hide();
    frmSpeech->hide();
    // The window opens at the largest whole scale the screen allows and follows the
    // window's size from then on.
    if (QScreen* screen = QGuiApplication::primaryScreen()) pic->SetScale(ScaleFor(screen->availableGeometry().size()));

    // Where the core has just drawn the view itself (DrawIt), it is shown as drawn; any other
    // redraw draws it here. Either way a redraw paints the view once.
    TheQtFrontend().onRedraw = [this] {
        auto& g = modVarsAndMain;
        View& view = g.gameScreen.view;
        if (g.TheWorld && view.serial == shownSerial_) g.TheWorld->DrawWorld(view);
        shownSerial_ = view.serial;
        Refresh();
    };
}

frmGame::~frmGame() {
    TheQtFrontend().onRedraw = nullptr;
    if (Instance() == this) Instance() = nullptr;
}

int frmGame::ScaleFor(const QSize& available) {
    const int byWidth = (available.width() - kPanelWidth - 40) / View::kPixels;
    const int byHeight = (available.height() - 100) / View::kPixels;
    return std::max(1, std::min(byWidth, byHeight));
}

int frmGame::ScaleForWindow(const QSize& size) const {
    const QMargins m = layout()->contentsMargins();
    const int spacing = std::max(0, layout()->spacing());
    const int width = size.width() - m.left() - m.right() - kPanelWidth - spacing;
    const int height = size.height() - m.top() - m.bottom() - lblII->sizeHint().height() -
                       lblInfo->sizeHint().height() - 2 * spacing;
    return std::max(1, std::min(width, height) / View::kPixels);
}

void frmGame::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Whole steps only: a larger window gets a larger view once a whole scale more fits.
    const int scale = ScaleForWindow(event->size());
    if (scale != pic->Scale()) {
        pic->SetScale(scale);
        Refresh();
    }
}

void frmGame::Watch(QWidget* w) { w->installEventFilter(this); }

template <typename F>
void frmGame::Run(F&& command) {
    command();
    Refresh();
}

void frmGame::Refresh() {
    if (refreshing_) return;
    refreshing_ = true;
    const auto& g = modVarsAndMain;
    const ScreenText& st = g.screen;
    const GameScreenState& gs = g.gameScreen;

    lblII->setText(Q(st.lblII));
    lblInfo->setText(Q(st.lblInfo));

    const QString speech = Display(st.txtSpeech);
    if (txtSpeech->toPlainText() != speech) txtSpeech->setPlainText(speech);
    frmSpeech->setVisible(st.speechVisible);
    txtSpeech->setEnabled(st.speechVisible);

    frmFight->refresh();

    const SpellList& s = gs.spells;
    frmSpells->setVisible(s.visible);
    for (std::size_t i = 0; i < lblS.size(); ++i) lblS[i]->setVisible(s.optionVisible[i]);

    const SkillList& k = gs.skills;
    bool same = lstAttribs->count() == static_cast<int>(k.lines.size());
    for (int i = 0; same && i < lstAttribs->count(); ++i) same = lstAttribs->item(i)->text() == Q(k.lines[static_cast<std::size_t>(i)]);
    if (!same) {
        lstAttribs->clear();
        for (const auto& line : k.lines) lstAttribs->addItem(Q(line));
    }
    if (lstAttribs->currentRow() != k.ListIndex && k.ListIndex < lstAttribs->count()) lstAttribs->setCurrentRow(k.ListIndex);
    lstAttribs->setVisible(k.visible);

    const int portrait = View::kCellPixels * std::min(pic->Scale(), 2);
    imgPlayer->setPixmap(QPixmap::fromImage(Pictures().Get(gs.hero.portrait).scaled(portrait, portrait, Qt::IgnoreAspectRatio, Qt::FastTransformation)));

    // The keyboard goes where the game's rules send it: a new speech, an opened list, the
    // strike button when a fight starts (the fight panel sees to that); and back to the view
    // when its holder is hidden.
    if (st.speechSerial != speechSerial_) {
        speechSerial_ = st.speechSerial;
        if (st.speechVisible) txtSpeech->setFocus();
    }
    if (s.focusSerial != spellSerial_) {
        spellSerial_ = s.focusSerial;
        if (s.visible) {
            QRadioButton* b = lblS[static_cast<std::size_t>(std::clamp(s.focus, 0, 5))];
            b->setChecked(true);
            b->setFocus();
        }
    }
    if (k.focusSerial != skillSerial_) {
        skillSerial_ = k.focusSerial;
        if (k.visible) lstAttribs->setFocus();
    }
    QWidget* focus = focusWidget();
    if (!focus || !focus->isVisibleTo(this) || !focus->isEnabled()) pic->setFocus();

    pic->update();
    refreshing_ = false;
}

bool frmGame::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
            return KeyPress(watched, static_cast<QKeyEvent*>(event));
        case QEvent::MouseButtonPress:
            if (watched == txtSpeech->viewport()) Run([] { HideSpeech(); });
            break;
        case QEvent::MouseButtonDblClick:
            for (std::size_t i = 0; i < lblS.size(); ++i) {
                if (watched == lblS[i]) {
                    Run([i] { ChooseSpell(static_cast<int>(i)); });
                    return true;
                }
            }
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

// Each press is handled here once, by the widget holding the keyboard: the lists and the
// speech box keep their own keys, every other key goes to the key map. Key releases are not
// keys.
bool frmGame::KeyPress(QObject* watched, QKeyEvent* key) {
    const int vk = KeyCodeOf(*key);
    const int shift = ShiftOf(key->modifiers());
    if (watched == txtSpeech) {
        bool kept = false;
        Run([&] { kept = SpeechBoxKey(vk, shift); });
        return !kept;  // a scroll key scrolls the text
    }
    for (std::size_t i = 0; i < lblS.size(); ++i) {
        if (watched != lblS[i]) continue;
        const int index = static_cast<int>(i);
        if (vk == kVkReturn) {
            Run([index] { ChooseSpellWithEnter(index, kVkReturn); });
        } else if (vk == kVkEscape) {
            Run([index] { CloseSpellListOnEscape(index, kVkEscape); });
        } else if (vk >= kVkLeft && vk <= kVkDown) {
            return false;  // from option to option
        } else {
            Run([&] { PressKey(vk, shift); });
        }
        return true;
    }
    if (watched == lstAttribs) {
        switch (vk) {
            case kVkReturn: Run([] { ChooseSkillWithEnter(kVkReturn); }); return true;
            case kVkEscape: Run([] { CloseSkillListOnEscape(kVkEscape); }); return true;
            case kVkUp: case kVkDown: case kVkPageUp: case kVkPageDown: case 35: case 36: return false;
            default: break;
        }
    }
    if (auto* button = qobject_cast<QPushButton*>(watched)) {
        if (vk == kVkReturn) {
            button->click();
            return true;
        }
        if (vk == kVkSpace) return false;  // the button clicks itself
    }
    Run([&] { PressKey(vk, shift); });
    return true;
}

void frmGame::closeEvent(QCloseEvent* event) {
    // A quit key has ended the program already; any other close is the end of this game.
    if (!modVarsAndMain.gameScreen.programEnded) CloseGameScreen();
    event->accept();
}

frmGame& ShowGameScreen() {
    frmGame*& screen = Instance();
    if (!screen) {
        screen = new frmGame();
        screen->setAttribute(Qt::WA_DeleteOnClose);
    }
    Pictures().Clear();  // a new game loads its crest and hero pictures anew
    OpenGameScreen();
    DrawIt();
    screen->Refresh();
    screen->show();
    screen->raise();
    screen->activateWindow();
    screen->pic->setFocus();
    return *screen;
}

frmGame* GameScreen() { return Instance(); }

void PlaceBesideTheHero(QWidget& dialog) {
    frmGame* screen = GameScreen();
    if (!screen || !screen->isVisible() || (dialog.parentWidget() && dialog.parentWidget()->window() != screen)) return;
    const auto& g = modVarsAndMain;
    const int cell = View::kCellPixels * screen->pic->Scale();
    const QPoint view = screen->pic->mapToGlobal(QPoint(0, 0));
    const auto cells = [&](int col, int row, int across) { return QRect(view + QPoint(col * cell, row * cell), QSize(across * cell, across * cell)); };
    // The hero and the eight cells round him, where whoever talks to him or takes something
    // from him stands; and the one the scripts speak for, wherever he is in view.
    const QRect hero = cells(View::kHeroCell - 1, View::kHeroCell - 1, 3);
    QRegion keep(hero);
    if (auto npc = g.NPCs ? g.NPCs->Item(g.ScriptNPCIndex) : nullptr) {
        const int col = View::kHeroCell + static_cast<int>(npc->X) - g.PlayerX, row = View::kHeroCell + static_cast<int>(npc->Y) - g.PlayerY;
        if (col >= 0 && col < View::kCells && row >= 0 && row < View::kCells) keep += cells(col, row, 1);
    }
    dialog.adjustSize();
    // Room for the frame the window manager puts round the dialog, as it did round the game
    // screen, and a gap.
    const QRect outer = screen->frameGeometry(), inner = screen->geometry();
    const int gap = 8;
    const QMargins frame(inner.left() - outer.left() + gap, inner.top() - outer.top() + gap, outer.right() - inner.right() + gap,
                         outer.bottom() - inner.bottom() + gap);
    const QSize size = dialog.size().grownBy(frame);
    const QRect area = screen->screen() ? screen->screen()->availableGeometry() : QRect(QPoint(0, 0), screen->size());
    // Above the hero first, where the eye already is, then below, to the right and to the
    // left; on a screen too small for all of them, where it hides the least.
    const QPoint centre = hero.center();
    const QPoint tries[] = {{centre.x() - size.width() / 2, hero.top() - size.height()},
                            {centre.x() - size.width() / 2, hero.bottom() + 1},
                            {hero.right() + 1, centre.y() - size.height() / 2},
                            {hero.left() - size.width(), centre.y() - size.height() / 2}};
    QPoint best;
    long hidden = -1;
    for (QPoint at : tries) {
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - size.width())));
        at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height())));
        long covered = 0;
        for (const QRect& r : keep.intersected(QRect(at, size))) covered += static_cast<long>(r.width()) * r.height();
        if (hidden < 0 || covered < hidden) best = at, hidden = covered;
        if (covered == 0) break;
    }
    dialog.move(best + QPoint(frame.left(), frame.top()));
}

}  // namespace morvath::ui
