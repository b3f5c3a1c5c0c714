#pragma once

#include <QDialog>

class PictureButton;
class PlaylistController;
class QLabel;
class QListView;
class QListWidget;
class QStringListModel;
struct ProgramState;

// The load-playlist window: the stored playlists by name; OK loads the selected one into the
// main window's playlist, Cancel closes, the Delete key deletes a stored playlist after a
// question (a file that cannot be deleted keeps its name, and the user is told why). Built afresh
// for every opening and shown modally. GUI thread only.
class Loadform : public QDialog {
    Q_OBJECT
public:
    Loadform(ProgramState& state, PlaylistController& playlists, QWidget* parent = nullptr);

    QListWidget* List1 = nullptr;
    QListView* File1 = nullptr; // never shown: the stored files, ".lst" included
    QStringListModel* File1Model = nullptr;
    PictureButton* OkKnop = nullptr;
    PictureButton* CancelKnop = nullptr;
    QLabel* Label1 = nullptr;

private Q_SLOTS:
    void OkKnop_Click();
    void CancelKnop_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void List1_KeyDown(int keyCode, Qt::KeyboardModifiers shift);

    ProgramState& m_state;
    PlaylistController& m_playlists;
};
