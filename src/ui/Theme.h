#pragma once

#include <QColor>

// The program's colours. The style sheet (look.qss) uses the same values for
// the standard controls; the widgets that paint themselves take them from here.
namespace theme {

inline const QColor StripTop{0x23, 0x6a, 0x7c};     // title strips, headers
inline const QColor StripBottom{0x16, 0x4b, 0x5a};
inline const QColor Accent{0x2a, 0x7f, 0x8f};       // primary buttons, gauge bar
inline const QColor AccentLight{0xd7, 0xea, 0xec};
inline const QColor Panel{0xfb, 0xf8, 0xf1};        // warm white panels
inline const QColor Page{0xef, 0xe9, 0xdc};         // window background
inline const QColor Border{0xd2, 0xc9, 0xb6};
inline const QColor BevelLight{0xff, 0xff, 0xff};
inline const QColor BevelDark{0xb5, 0xab, 0x97};
inline const QColor Text{0x2b, 0x2b, 0x2b};
inline const QColor MutedText{0x6b, 0x64, 0x57};
inline const QColor Right{0x3f, 0x8a, 0x4a};        // answered right
inline const QColor Wrong{0xb8, 0x41, 0x2f};        // answered wrong, errors
inline const QColor Warning{0xd0, 0x8a, 0x1c};
inline const QColor Notice{0x2f, 0x6e, 0xa5};
inline const QColor Answered{0x3b, 0x6f, 0xb0};     // answered during an exam
inline const QColor LedBack{0x14, 0x24, 0x22};
inline const QColor LedOn{0x6e, 0xf0, 0xb4};
inline const QColor LedOff{0x24, 0x3a, 0x36};
inline const QColor Maroon{0x80, 0x00, 0x00};

} // namespace theme
