#include "composer.h"

// Six calm pieces for background study music: different keys, metres,
// tempi and instruments (General-MIDI program numbers).
const std::vector<TuneDesign> &tuneDesigns()
{
    static const std::vector<TuneDesign> designs = {
        {"乐曲01", "晨光", 60, false, 72, 4,
         {0, 4, 5, 3, 0, 3, 4, 0}, {5, 3, 0, 4, 5, 3, 1, 4}, false, Accompaniment::Arpeggio,
         {0, 120, 70, 50}, {0, 104, 54, 50}, {48, 70, 64, 70}, {32, 104, 64, 30},
         64, 84, 48, 36, 0x1a2b3c4du},
        {"乐曲02", "细雨", 69, true, 66, 4,
         {0, 5, 2, 6, 3, 0, 4, 0}, {3, 6, 2, 5, 3, 6, 4, 4}, false, Accompaniment::Picking,
         {73, 92, 76, 70}, {24, 96, 50, 50}, {89, 55, 64, 80}, {33, 84, 64, 30},
         69, 88, 52, 36, 0x2468ace1u},
        {"乐曲03", "圆舞", 65, false, 96, 3,
         {0, 0, 5, 5, 1, 1, 4, 4, 0, 0, 3, 3, 4, 4, 0, 0}, {3, 3, 0, 0, 1, 1, 4, 4, 5, 5, 1, 1, 4, 4, 4, 4}, false,
         Accompaniment::Waltz,
         {71, 96, 72, 60}, {46, 88, 52, 60}, {49, 58, 64, 70}, {45, 96, 64, 40},
         65, 84, 53, 36, 0x13579bdfu},
        {"乐曲04", "午后", 62, false, 80, 4,
         {0, 5, 1, 4, 0, 5, 1, 4}, {3, 2, 1, 4, 3, 2, 5, 4}, true, Accompaniment::OffbeatChords,
         {11, 92, 74, 70}, {4, 84, 54, 60}, {50, 50, 64, 80}, {33, 92, 64, 20},
         69, 86, 50, 36, 0x0badcafeu},
        {"乐曲05", "静夜", 64, true, 63, 4,
         {0, 3, 6, 2, 5, 3, 4, 0}, {5, 6, 0, 0, 3, 6, 2, 4}, false, Accompaniment::Sustained,
         {0, 112, 64, 70}, {49, 88, 60, 80}, {52, 54, 70, 90}, {42, 92, 58, 60},
         64, 83, 52, 40, 0x5eedf00du},
        {"乐曲06", "田野", 67, false, 88, 4,
         {0, 3, 0, 4, 5, 3, 4, 0}, {3, 4, 2, 5, 3, 4, 1, 4}, false, Accompaniment::Picking,
         {74, 92, 70, 60}, {25, 84, 52, 50}, {48, 52, 64, 70}, {32, 88, 64, 30},
         67, 86, 50, 36, 0x77aa33ccu},
    };
    return designs;
}
