#include "world/pictures.h"

#include <array>

namespace morvath {
namespace {

struct PictureEntry {
    std::wstring name;
    std::wstring file;
};

// In the order of Pic.
const std::array<PictureEntry, kPictureCount>& Catalogue() {
    static const std::array<PictureEntry, kPictureCount> table{{
    {L"imgGrass", L""},
    {L"imgBush", L""},
    {L"imgWeed", L""},
    {L"imgSign", L""},
    {L"imgTower", L""},
    {L"imgTOL", L""},
    {L"imgBOL", L""},
    {L"imgTOR", L""},
    {L"imgBOR", L""},
    {L"ImgIL", L""},
    {L"ImgIR", L""},
    {L"ImgIT", L""},
    {L"ImgIB", L""},
    {L"ImgTIL", L""},
    {L"ImgTIR", L""},
    {L"ImgBIL", L""},
    {L"ImgBIR", L""},
    {L"ImgTIL3", L""},
    {L"ImgTIR3", L""},
    {L"ImgBIL3", L""},
    {L"ImgBIR3", L""},
    {L"ImgIL3", L""},
    {L"ImgIR3", L""},
    {L"ImgIT3", L""},
    {L"ImgIB3", L""},
    {L"imgCave", L""},
    {L"imgCaveWall", L""},
    {L"imgCaveDoor", L""},
    {L"imgCaveStairs", L""},
    {L"imgMountain", L""},
    {L"imgMountain2", L""},
    {L"imgFlower", L""},
    {L"imgCrest", L"\\Images\\crest.bmp"},  // imgCrest
    {L"ImgBlack", L""},
    {L"imgNothing", L""},
    {L"imgWallBottom", L""},
    {L"imgWallTop", L""},
    {L"imgWall2", L""},
    {L"imgFloor1", L""},
    {L"imgBlueTop", L""},
    {L"imgRedTop", L""},
    {L"imgWindow1", L""},
    {L"imgDoor1", L""},
    {L"imgJar", L""},
    {L"imgTable1", L""},
    {L"imgTable2", L""},
    {L"imgBed1", L""},
    {L"imgBed2", L""},
    {L"imgHouseExit", L""},
    {L"imgHouseExitB1", L""},
    {L"imgHouseExitB2", L""},
    {L"ImgW", L""},
    {L"ImgW2", L""},
    {L"ImgM", L""},
    {L"imgForest", L""},
    {L"imgbushw", L""},
    {L"imgLotok", L""},
    {L"imgCharWomen1", L""},
    {L"imgCharWomen2", L""},
    {L"imgCharWomen3", L""},
    {L"imgCharBoy1", L""},
    {L"imgCharBoy2", L""},
    {L"imgCharGoodWizard", L""},
    {L"imgCharBadWizard", L""},
    {L"imgCharSoldier", L""},
    {L"ImgWar1", L""},
    {L"imgVolhv", L""},
    {L"imgRedMonk", L""},
    {L"imgBear", L""},
    {L"imgSkel", L""},
    {L"imgKgt", L""},
    {L"Item", L""},
    {L"imgUpChar", L""},
    {L"imgDownChar", L""},
    {L"imgLeftChar", L""},
    {L"imgRightChar", L""},
    {L"imgAssasin", L""},
    {L"penek.bmp", L"\\Images\\penek.bmp"},  // penek
    {L"chicken.bmp", L"\\Images\\chicken.bmp"},  // chicken
    {L"dog.bmp", L"\\Images\\dog.bmp"},  // dog
    {L"in1.bmp", L"\\Images\\in1.bmp"},  // in1
    {L"in2.bmp", L"\\Images\\in2.bmp"},  // in2
    {L"meal.bmp", L"\\images\\meal.bmp"},  // meal
    {L"fish.bmp", L"\\Images\\fish.bmp"},  // fish
    {L"uman.bmp", L"\\Images\\uman.bmp"},  // uman
    {L"volk.bmp", L"\\Images\\volk.bmp"},  // volk
    {L"orc.bmp", L"\\Images\\orc.bmp"},  // orc
    {L"orc2.bmp", L"\\Images\\orc2.bmp"},  // orc2
    {L"berendei.bmp", L"\\Images\\berendei.bmp"},  // berendei
    {L"bwolf.bmp", L"\\Images\\bwolf.bmp"},  // bwolf
    {L"fire.bmp", L"\\Images\\fire.bmp"},  // fire
    {L"alchem.bmp", L"\\Images\\alchem.bmp"},  // alchem
    {L"n2.bmp", L"\\Images\\n2.bmp"},  // n2
    {L"trief.bmp", L"\\Images\\trief.bmp"},  // trief
    {L"weapon2.bmp", L"\\images\\weapon2.bmp"},  // weapon2
    {L"dom1-4.bmp", L"\\images\\dom1-4.bmp"},  // dom1_4
    {L"dom1-5.bmp", L"\\images\\dom1-5.bmp"},  // dom1_5
    {L"dom1-6.bmp", L"\\images\\dom1-6.bmp"},  // dom1_6
    {L"upstairs.gif", L"\\Images\\upstairs.gif"},  // upstairs
    {L"cooks.bmp", L"\\Images\\cooks.bmp"},  // cooks
    {L"naga.bmp", L"\\images\\naga.bmp"},  // naga
    {L"mongol.bmp", L"\\images\\mongol.bmp"},  // mongol
    {L"village.bmp", L"\\Images\\village.bmp"},  // village
    {L"castle.gif", L"\\Images\\castle.gif"},  // castle
    {L"shaht.bmp", L"\\Images\\shaht.bmp"},  // shaht
    {L"city.bmp", L"\\Images\\city.bmp"},  // city
    {L"const.bmp", L"\\Images\\const.bmp"},  // const_
    {L"s1.bmp", L"\\Images\\sheep\\s1.bmp"},  // sheep1
    {L"s2.bmp", L"\\Images\\sheep\\s2.bmp"},  // sheep2
    {L"s3.bmp", L"\\Images\\sheep\\s3.bmp"},  // sheep3
    {L"s4.bmp", L"\\Images\\sheep\\s4.bmp"},  // sheep4
    {L"p1.gif", L"\\Images\\spider\\p1.gif"},  // spider1
    {L"p2.gif", L"\\Images\\spider\\p2.gif"},  // spider2
    {L"p3.gif", L"\\Images\\spider\\p3.gif"},  // spider3
    {L"p4.gif", L"\\Images\\spider\\p4.gif"},  // spider4
    {L"t1.bmp", L"\\Images\\tvar\\t1.bmp"},  // tvar1
    {L"t2.bmp", L"\\Images\\tvar\\t2.bmp"},  // tvar2
    {L"t3.bmp", L"\\Images\\tvar\\t3.bmp"},  // tvar3
    {L"t4.bmp", L"\\Images\\tvar\\t4.bmp"},  // tvar4
    {L"n1.bmp", L"\\Images\\n1.bmp"},  // n1
    {L"n3.bmp", L"\\Images\\n3.bmp"},  // n3
    {L"n4.bmp", L"\\Images\\n4.bmp"},  // n4
    {L"m1.bmp", L"\\Images\\m1.bmp"},  // m1
    {L"m2.bmp", L"\\Images\\m2.bmp"},  // m2
    {L"m3.bmp", L"\\Images\\m3.bmp"},  // m3
    {L"m4.bmp", L"\\Images\\m4.bmp"},  // m4
    {L"oh1.bmp", L"\\Images\\oh1.bmp"},  // oh1
    {L"oh2.bmp", L"\\Images\\oh2.bmp"},  // oh2
    {L"oh3.bmp", L"\\Images\\oh3.bmp"},  // oh3
    {L"oh4.bmp", L"\\Images\\oh4.bmp"},  // oh4
    {L"fireball1.bmp", L"\\Images\\fireball1.bmp"},  // fireball1
    {L"fireball2.bmp", L"\\Images\\fireball2.bmp"},  // fireball2
    {L"fireball3.bmp", L"\\Images\\fireball3.bmp"},  // fireball3
    {L"fireball4.bmp", L"\\Images\\fireball4.bmp"},  // fireball4
    {L"a1.bmp", L"\\Images\\a1.bmp"},  // a1
    {L"a2.bmp", L"\\Images\\a2.bmp"},  // a2
    {L"a3.bmp", L"\\Images\\a3.bmp"},  // a3
    {L"a4.bmp", L"\\Images\\a4.bmp"},  // a4
    }};
    return table;
}

}  // namespace

const std::wstring& PictureName(Pic p) { return Catalogue()[static_cast<std::size_t>(p)].name; }
const std::wstring& PictureFile(Pic p) { return Catalogue()[static_cast<std::size_t>(p)].file; }

}  // namespace morvath
