#pragma once

#include <QPoint>
#include <QRect>
#include <QRegion>

// Where the main window's controls sit, relative to the window. Labels give their top-left
// corner; their widths are ours.
namespace quillex::layout {

inline constexpr QRect kSb_Close{766, 4, 31, 31};
inline constexpr QRect kLbl_1{10, 50, 225, 15};
inline constexpr QRect kLbl_2{10, 65, 225, 15};
inline constexpr QRect kLbl_3{240, 50, 470, 15};
inline constexpr QRect kLbl_Work{240, 65, 470, 15};
// The share of the running work done, right of the longest "Lines processed" caption.
inline constexpr QRect kProgress_Work{440, 68, 260, 9};
// The document's encoding, right of the longest line's length.
inline constexpr QRect kLbl_Encoding{710, 50, 86, 15};
inline constexpr QRect kLbl_Lang0{720, 65, 36, 15};
inline constexpr QRect kLbl_Lang1{760, 65, 36, 15};
inline constexpr QRect kImage1{10, 80, 780, 400};
inline constexpr QRect kRichEdit_Text{14, 86, 770, 390};
inline constexpr QRect kLbl_Load_File{11, 484, 160, 15};
inline constexpr QRect kEdit_Load_File{11, 500, 160, 19};
inline constexpr QRect kBtn_Load_File{11, 524, 164, 50};
inline constexpr QRect kLbl_Save_File{188, 484, 160, 15};
inline constexpr QRect kEdit_Save_File{188, 500, 160, 19};
inline constexpr QRect kBtn_Save_File{188, 524, 164, 50};
// Where the load and save buttons' captions are drawn, right of their pictures' symbol.
inline constexpr QRect kFileButtonCaption{36, 1, 128, 46};
inline constexpr QRect kLbl_Select{364, 484, 160, 15};
// The function chooser and the stacked parameter panels.
inline constexpr QRect kComboBox_Select{364, 500, 425, 21};
inline constexpr QRect kPanels{364, 524, 426, 54};

// Parked below the window's bottom edge: they exist but can be neither seen nor clicked.
inline constexpr QPoint kEdit_Focus{3, 647};
inline constexpr QPoint kSb_Help{50, 675};
inline constexpr QPoint kSb_Internet{74, 675};
inline constexpr QPoint kSb_Min{98, 675};
inline constexpr QPoint kCb_Min_FormShow{3, 698};
inline constexpr QPoint kLbl_Min_FormShow{23, 698};
inline constexpr QPoint kCb_HintShow{3, 718};
inline constexpr QPoint kLbl_HintShow{23, 717};
inline constexpr QPoint kEdit_Lang{3, 739};
inline constexpr QPoint kSb_Lang_Up{69, 739};
inline constexpr QPoint kSb_Lang_Down{69, 751};
inline constexpr QPoint kLabel_Title_Name{146, 709};
inline constexpr QPoint kLabel_Title_Name_Shadow{146, 691};

// The rounded window shape: seven rows (right and bottom exclusive).
inline QRegion WindowRegion() {
    constexpr QRect kRows[] = {
        QRect(QPoint(5, 1), QPoint(797 - 1, 2 - 1)),
        QRect(QPoint(3, 2), QPoint(799 - 1, 3 - 1)),
        QRect(QPoint(2, 3), QPoint(800 - 1, 5 - 1)),
        QRect(QPoint(1, 5), QPoint(801 - 1, 598 - 1)),
        QRect(QPoint(2, 598), QPoint(800 - 1, 599 - 1)),
        QRect(QPoint(3, 599), QPoint(799 - 1, 600 - 1)),
        QRect(QPoint(4, 600), QPoint(798 - 1, 601 - 1)),
    };
    QRegion region;
    for (const QRect& row : kRows) {
        region += row;
    }
    return region;
}

}  // namespace quillex::layout
