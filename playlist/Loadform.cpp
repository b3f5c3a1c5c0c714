#include "playlist/Loadform.h"

#include "common/ProgramState.h"
#include "playlist/PlaylistController.h"
#include "playlist/PlaylistFile.h"
#include "widgets/FormKit.h"
#include "widgets/MessageKit.h"
#include "widgets/PictureButton.h"
#include "widgets/Plaatjes.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QStringListModel>

namespace {

using widgets::px;
using widgets::twipRect;

// The window's designed 3315 x 5040 twips include its frame and title bar; this is what lies
// inside them.
constexpr int kFrameWidthPx = 6;
constexpr int kFrameHeightPx = 26;

} // namespace

Loadform::Loadform(ProgramState& state, PlaylistController& playlists, QWidget* parent)
    : QDialog(parent), m_state(state), m_playlists(playlists) {
    setObjectName(QStringLiteral("Loadform"));
    setWindowTitle(QStringLiteral(" Load Playlist"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setModal(true);

    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setUniformItemSizes(true);
    List1->installEventFilter(this);
    widgets::readerName(List1, QStringLiteral("Playlists"));

    File1 = new QListView(this);
    File1->setObjectName(QStringLiteral("File1"));
    File1Model = new QStringListModel(File1);
    File1->setModel(File1Model);
    File1->setVisible(false);

    Label1 = widgets::backdrop(this, "Label1", 0, 0, 0, 0);

    CancelKnop = new PictureButton(this);
    CancelKnop->setObjectName(QStringLiteral("CancelKnop"));
    CancelKnop->setIcon(Plaatjes::cancelButton());
    OkKnop = new PictureButton(this);
    OkKnop->setObjectName(QStringLiteral("OkKnop"));
    OkKnop->setIcon(Plaatjes::okButton());
    widgets::readerName(CancelKnop, QStringLiteral("Cancel"));
    widgets::readerName(OkKnop, QStringLiteral("OK"));

    connect(OkKnop, &QAbstractButton::clicked, this, &Loadform::OkKnop_Click);
    // A double-click on a name does what selecting it and pressing OK does.
    connect(List1, &QListWidget::itemDoubleClicked, this, &Loadform::OkKnop_Click);
    connect(CancelKnop, &QAbstractButton::clicked, this, &Loadform::CancelKnop_Click);

    Form_Load();
}

void Loadform::Form_Load() {
    setFixedSize(px(3315) - kFrameWidthPx, px(5040) - kFrameHeightPx);
    List1->setGeometry(twipRect(75, 90, 3030, 3840));
    Label1->setGeometry(twipRect(60, 4020, 3090, 480));
    CancelKnop->setGeometry(twipRect(90, 4050, 1515, 420));
    CancelKnop->setIconSize(CancelKnop->size());
    OkKnop->setGeometry(twipRect(1605, 4050, 1515, 420));
    OkKnop->setIconSize(OkKnop->size());

    QPalette palette = List1->palette();
    palette.setColor(QPalette::Base, QColor(240, 240, 210));
    List1->setPalette(palette);
    QFont font = List1->font();
    font.setFamily(QStringLiteral("Comic Sans MS"));
    List1->setFont(font);

    const QStringList names = playlist::storedPlaylistNames(m_state.programFolder);
    QStringList files;
    files.reserve(names.size());
    for (const QString& name : names) {
        files.append(name + QStringLiteral(".lst"));
    }
    File1Model->setStringList(files);
    List1->addItems(names);
    List1->setFocus();
}

void Loadform::OkKnop_Click() {
    const QList<QListWidgetItem*> selected = List1->selectedItems();
    if (!selected.isEmpty()) {
        m_playlists.LoadPlaylist(selected.first()->text());
    }
    accept();
}

void Loadform::CancelKnop_Click() {
    reject();
}

bool Loadform::eventFilter(QObject* watched, QEvent* event) {
    if (watched == List1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete) {
            List1_KeyDown(key->key(), key->modifiers());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Loadform::List1_KeyDown(int keyCode, Qt::KeyboardModifiers) {
    if (keyCode != Qt::Key_Delete) {
        return;
    }
    const QList<QListWidgetItem*> selected = List1->selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    QListWidgetItem* item = selected.first();
    const QString name = item->text();
    if (!widgets::askYesNo(this, QStringLiteral(" Delete"),
                           QStringLiteral("Wilt u het bestand '") + name +
                               QStringLiteral("' verwijderen?"))) {
        return;
    }
    QString reason;
    if (!playlist::removePlaylist(m_state.programFolder, name, &reason)) {
        // The name stays: it still names a stored playlist, as the next opening would show.
        widgets::warn(this,
                      QStringLiteral("Het bestand '%1' kan niet worden verwijderd (%2).").arg(name, reason),
                      QStringLiteral(" Delete"));
        return;
    }
    delete List1->takeItem(List1->row(item));
    QStringList files = File1Model->stringList();
    files.removeOne(name + QStringLiteral(".lst"));
    File1Model->setStringList(files);
    List1->clearSelection();
    List1->selectionModel()->clearCurrentIndex();
}
