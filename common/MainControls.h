#pragma once

#include <array>

class QAction;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QListView;
class QMenu;
class QPlainTextEdit;
class QSlider;
class QStringListModel;
class QTimer;
class QTreeView;
class QWidget;
class PictureButton;

// Every control of the main window, by its program name. Main creates them in Form_Load and
// owns them; the module controllers get this record and never delete what it points to.
// Control arrays are indexed by their program index (Knop[1] .. Knop[4]); unused slots are null.
struct MainControls {
    QWidget* Main = nullptr;

    // Top strip.
    QGroupBox* Frame1 = nullptr;
    QLabel* ReclameLabel = nullptr;
    QLabel* Klok = nullptr;

    // Left pane.
    QGroupBox* Frame2 = nullptr;
    QComboBox* Drive1 = nullptr;
    QTreeView* Dir1 = nullptr;
    QFrame* Logoback = nullptr;
    QLabel* Logo = nullptr;
    QLabel* Label1 = nullptr; // info bar behind TellerLabel
    QLabel* TellerLabel = nullptr;
    QListView* File1 = nullptr; // never shown: the folder's matching files
    QStringListModel* File1Model = nullptr;
    QListView* List1 = nullptr; // the folder's songs, extended selection
    QStringListModel* List1Model = nullptr;
    QLabel* Label5 = nullptr; // backdrop behind KnopL
    std::array<PictureButton*, 3> KnopL{};

    // Middle strip.
    QGroupBox* Frame3 = nullptr;
    QLabel* Label2 = nullptr; // backdrop behind the arrow buttons
    PictureButton* SelectieKnop = nullptr;
    PictureButton* SelectieAllKnop = nullptr;

    // Right pane.
    QGroupBox* Frame4 = nullptr;
    QLabel* Label9 = nullptr; // info bar behind Label10
    QLabel* Label10 = nullptr;
    QLabel* Label11 = nullptr; // backdrop behind Ballans
    QSlider* Ballans = nullptr;
    QLabel* Label12 = nullptr;
    QListView* List2 = nullptr;      // playlist display names (PlaylistModel column 0)
    QListView* BackList = nullptr;   // never shown: playlist full paths (column 1)
    QPlainTextEdit* Text1 = nullptr; // help screen over List2
    QLabel* Label3 = nullptr;        // backdrop behind KnopR
    std::array<PictureButton*, 3> KnopR{};
    QLabel* Label4 = nullptr; // backdrop behind Slider1
    QSlider* Slider1 = nullptr;
    QLabel* PosLabel = nullptr;

    // Info strip.
    QGroupBox* Frame6 = nullptr;
    QLabel* Label6 = nullptr; // info bar behind InfoLabel
    QLabel* InfoLabel = nullptr;
    QLabel* BackKnoppen = nullptr; // backdrop behind Knop
    std::array<PictureButton*, 5> Knop{};
    QLabel* Label7 = nullptr; // backdrop behind Slider2
    QSlider* Slider2 = nullptr;
    QLabel* VolumeLabel = nullptr;

    // Command bar.
    QGroupBox* Frame5 = nullptr;
    QLabel* Label13 = nullptr; // backdrop behind KnopBottom 1 to 4
    std::array<PictureButton*, 10> KnopBottom{};
    QLabel* Label8 = nullptr;    // backdrop behind KnopBottom 5 to 7
    QLabel* ExitLabel = nullptr; // backdrop behind KnopBottom 9

    QMenu* Printmenu = nullptr;
    std::array<QAction*, 3> Printnummers{};

    QTimer* Timer1 = nullptr; // position display and automatic advance, 60 ms, off at start
    QTimer* Timer2 = nullptr; // clock
};
