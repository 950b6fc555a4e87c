#pragma once
// Every picture the view can show, named once. A picture is either one the game screen holds
// itself (named after its image control, "imgGrass") or a file of the game folder
// ("\Images\penek.bmp"). The core only ever names pictures; the window owns the pixels and
// looks each one up by its name.
#include <cstdint>
#include <string>

namespace morvath {

enum class Pic : std::uint8_t {
    // Pictures held by the game screen.
    imgGrass, imgBush, imgWeed, imgSign, imgTower,
    imgTOL, imgBOL, imgTOR, imgBOR, ImgIL, ImgIR, ImgIT, ImgIB, ImgTIL, ImgTIR, ImgBIL, ImgBIR,
    ImgTIL3, ImgTIR3, ImgBIL3, ImgBIR3, ImgIL3, ImgIR3, ImgIT3, ImgIB3,
    imgCave, imgCaveWall, imgCaveDoor, imgCaveStairs, imgMountain, imgMountain2, imgFlower,
    imgCrest, ImgBlack, imgNothing,
    imgWallBottom, imgWallTop, imgWall2, imgFloor1, imgBlueTop, imgRedTop, imgWindow1, imgDoor1,
    imgJar, imgTable1, imgTable2, imgBed1, imgBed2,
    imgHouseExit, imgHouseExitB1, imgHouseExitB2, ImgW, ImgW2, ImgM, imgForest, imgbushw, imgLotok,
    imgCharWomen1, imgCharWomen2, imgCharWomen3, imgCharBoy1, imgCharBoy2, imgCharGoodWizard,
    imgCharBadWizard, imgCharSoldier, ImgWar1, imgVolhv, imgRedMonk, imgBear, imgSkel, imgKgt,
    Item,
    // The hero as the screen was designed (the prince), and the assassin's one picture.
    imgUpChar, imgDownChar, imgLeftChar, imgRightChar, imgAssasin,
    // Picture files.
    penek, chicken, dog, in1, in2, meal, fish, uman, volk, orc, orc2, berendei, bwolf, fire,
    alchem, n2, trief, weapon2, dom1_4, dom1_5, dom1_6, upstairs, cooks, naga, mongol, village,
    castle, shaht, city, const_,
    sheep1, sheep2, sheep3, sheep4, spider1, spider2, spider3, spider4, tvar1, tvar2, tvar3, tvar4,
    // Hero sprite files: 1 up, 2 right, 3 down, 4 left.
    n1, n3, n4, m1, m2, m3, m4, oh1, oh2, oh3, oh4,
    // Things flying over the view: the fireball going down, left, up, right; the arrow going
    // up, right, down, left.
    fireball1, fireball2, fireball3, fireball4, a1, a2, a3, a4,
    Count
};

constexpr int kPictureCount = static_cast<int>(Pic::Count);

// The name a picture goes by: the image control's name ("imgGrass") or the file's name as
// the game spells it ("penek.bmp").
const std::wstring& PictureName(Pic p);
// Where a picture loaded from the game folder comes from ("\Images\penek.bmp"); "" for the
// pictures the game screen holds itself. The crest is a screen picture filled from a file.
const std::wstring& PictureFile(Pic p);

}  // namespace morvath
