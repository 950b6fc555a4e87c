#include "world/hero_sprites.h"

#include "platform/files.h"
#include "world/game_state.h"
#include "world/main_character.h"

namespace morvath {
namespace {

// Files 1..4 face up, right, down, left. A person whose files are not all there keeps the
// pictures the screen already has rather than walking about half drawn.
void SetFromFiles(Pic up, Pic right, Pic down, Pic left) {
    for (Pic p : {up, right, down, left}) {
        if (!FileExists(GamePath(PictureFile(p)))) return;
    }
    auto& hero = modVarsAndMain.gameScreen.hero;
    hero.down = down;
    hero.up = up;
    hero.left = left;
    hero.right = right;
    hero.portrait = down;
}

}  // namespace

void SetHeroImagesN() { SetFromFiles(Pic::n1, Pic::n2, Pic::n3, Pic::n4); }
void SetHeroImagesM() { SetFromFiles(Pic::m1, Pic::m2, Pic::m3, Pic::m4); }
void SetHeroImagesOh() { SetFromFiles(Pic::oh1, Pic::oh2, Pic::oh3, Pic::oh4); }

void SetHeroImagesDefault() {
    auto& hero = modVarsAndMain.gameScreen.hero;
    hero.down = hero.up = hero.left = hero.right = hero.portrait = Pic::imgAssasin;
}

void SetHeroImages(long profession) {
    switch (profession) {
        case kWarlock: SetHeroImagesN(); break;
        case kMonk: SetHeroImagesM(); break;
        case kClaw: SetHeroImagesDefault(); break;
        case kHunter: SetHeroImagesOh(); break;
        default: break;  // the prince looks as the screen was drawn
    }
}

}  // namespace morvath
