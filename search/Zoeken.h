#pragma once

#include <QDialog>
#include <QtGlobal>

class PlaylistModel;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QStringListModel;
struct ProgramState;

// The search window: choose a start folder, type a keyword, search the folder's tree for MP3
// files whose names hold the keyword, and add what was found to the main window's playlist.
// Built afresh at every opening and shown modally; "Exit" stores the start folder in the
// settings (in memory), "Cancel" and the window frame forget it. GUI thread only.
class Zoeken : public QDialog {
    Q_OBJECT
public:
    // `infoLabel` is the main window's info line (may be null); it says how many files were left out.
    Zoeken(ProgramState& state, PlaylistModel& playlist, QLabel* infoLabel, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private Q_SLOTS:
    void PathKnop_Click();
    void Text1_Click();
    void ZoekKnop_Click();
    void List1_DblClick();
    void SelectAllKnop_Click();
    void ExitKnop_Click();
    void CancelKnop_Click();

private:
    void Form_Load();
    void createControls();
    // Appends the result lines (all, or only the selected one) to the playlist.
    void addToPlaylist(bool everyLine);

    ProgramState& m_state;
    PlaylistModel& m_playlist;
    QLabel* m_infoLabel = nullptr;

    QGroupBox* Frame1 = nullptr;
    QLabel* ZoekPath = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* PathKnop = nullptr;
    QListView* List1 = nullptr;
    QStringListModel* List1Model = nullptr;
    QListView* List2 = nullptr; // never shown: the full paths of List1's lines
    QStringListModel* List2Model = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* ZoekKnop = nullptr;
    QPushButton* SelectAllKnop = nullptr;
    QLineEdit* Text1 = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* CancelKnop = nullptr;
    QPushButton* ExitKnop = nullptr;

    // Files that matched "*.mp3" in the last search, found or not.
    qint32 mp3Total = 0;
};
