// The game's pictures: one drawing operation per picture, no arguments. Each
// draws its pixels at the pen position (the picture's top-left corner) with
// PutPixel, row by row, and leaves the pen where it was. A picture is opaque:
// its empty pixels carry the colour of the surface it is meant to sit on.
#pragma once

#include <span>
#include <string_view>

#include "gfx/picture_data.h"

namespace qb {

// Board tiles. The wall starts one pixel in from the pen (offsets 1..38).
void PicWall();
void PicTarget();
void PicBox();
void PicFigure();
void PicBoxOnTarget();
void PicFloor();
// The figure's appearance animation, coarse to fine, made from PicFigure.
void PicMosaic1();
void PicMosaic2();
void PicMosaic3();
void PicMosaic4();
void PicMosaic5();
void PicMosaic6();
void PicMosaic7();
void PicMosaic8();
void PicMosaic9();
// Menu pointer and the command legend's key caps.
void PicPointer();
void PicArrowKeys();
void PicKeyF1();
void PicKeyF5();
void PicKeyP();
void PicKeyPlus();
void PicKeyB();
void PicKeyL();
void PicKeyS();
// The side bar's question-mark block and its mirror image.
void PicQuestionA();
void PicQuestionB();
// Signs of the instructions screen.
void PicArrowRight();
void PicArrowBent();
void PicTick();
void PicForbidden();
// The pause screen's cup, in two steam frames.
void PicCupA();
void PicCupB();
// Dialog and notice icons.
void PicCoins();
void PicFloppy();
void PicWarning();
void PicSkipLevel();
void PicTakeBack();
void PicHearts();
void PicDevil();
// The old home-computer version, as shown on the about screen.
void PicScreenshotInfo();
void PicScreenshotPlay();

// Sets the pen to (x, y) and draws the picture there.
void DrawPictureAt(void (*picture)(), float x, float y);

// Every picture with the pixels it draws (its name among them) and its
// drawing operation, for the tests and tools that go through them all.
struct PictureEntry {
  const PictureData& data;  // row by row, offsets from the pen position
  void (*draw)();
};
std::span<const PictureEntry> AllPictures();

// The pixels of the picture of that name; nullptr for an unknown name (for
// tests and tools; the game draws through the operations above).
const PictureData* PicturePixels(std::string_view name);

}  // namespace qb
