#pragma once

#include <QImage>

// The eighteen smiley pictures of the chat, 17 by 16 pixels, drawn in code.
//
//   0 smile    1 grin       2 wink      3 sad        4 tongue    5 surprised
//   6 cool     7 laughing   8 angry     9 crying    10 in love  11 confused
//  12 neutral 13 blushing  14 kiss     15 sleepy    16 devil    17 angel
class SmileyPictures
{
public:
    static constexpr int count = 18;
    static constexpr int width = 17;
    static constexpr int height = 16;

    // Picture `index` (0..17; others give picture 0) at the given device pixel ratio.
    static QImage picture(int index, qreal devicePixelRatio = 1.0);
};
