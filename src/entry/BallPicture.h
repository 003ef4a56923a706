#pragma once

#include <QPixmap>

namespace ballvane {

// The page's picture: a glossy round lottery ball, 65 × 66 pixels, drawn by the program.
QPixmap lotteryBallPicture();

} // namespace ballvane
