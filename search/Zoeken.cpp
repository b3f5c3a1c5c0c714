#include "search/Zoeken.h"

#include "browse/SongNames.h"
#include "common/ProgramState.h"
#include "playlist/PlaylistModel.h"
#include "search/Delay.h"
#include "search/ScanFolder.h"
#include "search/SearchRules.h"
#include "widgets/Algemeen.h"
#include "widgets/FormKit.h"

#include "widgets/MessageKit.h"
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QStringListModel>

#include <vector>

namespace {

using widgets::place;

using widgets::backdrop;
using widgets::px;

QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QColor& colour, int left,
                    int top, int width, int height) {
    auto* b = place<QPushButton>(parent, name, left, top, width, height);
    b->setText(caption);
    b->setAutoDefault(false);
    widgets::fillBackground(b, colour);
    return b;
}

QFont arial(const QFont& base) {
    QFont f = base;
    f.setFamily(QStringLiteral("Arial"));
    return f;
}

// The pointer is the hourglass for as long as this lives, however the search ends.
class BusyPointer {
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

// Puts the instruction above everything else in the folder chooser. Qt's own chooser lays its
// parts out in a grid; anything else keeps just the window title.
void addPrompt(QFileDialog& dialog, const QString& prompt) {
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (!grid) {
        return;
    }
    struct Placed {
        QLayoutItem* item;
        int row, column, rowSpan, columnSpan;
    };
    std::vector<Placed> items;
    for (int i = grid->count() - 1; i >= 0; --i) {
        Placed p{nullptr, 0, 0, 0, 0};
        grid->getItemPosition(i, &p.row, &p.column, &p.rowSpan, &p.columnSpan);
        p.item = grid->takeAt(i);
        items.push_back(p);
    }
    auto* label = new QLabel(prompt, &dialog);
    label->setObjectName(QStringLiteral("PathPrompt"));
    label->setTextFormat(Qt::PlainText);
    grid->addWidget(label, 0, 0, 1, -1);
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        grid->addItem(it->item, it->row + 1, it->column, it->rowSpan, it->columnSpan);
    }
}

} // namespace

Zoeken::Zoeken(ProgramState& state, PlaylistModel& playlist, QLabel* infoLabel, QWidget* parent)
    : QDialog(parent), m_state(state), m_playlist(playlist), m_infoLabel(infoLabel) {
    setObjectName(QStringLiteral("Zoeken"));
    Form_Load();
}

void Zoeken::createControls() {
    Frame1 = place<QGroupBox>(this, "Frame1", 90, -15, 6510, 3405);

    ZoekPath = place<QLabel>(Frame1, "ZoekPath", 120, 210, 5400, 345);
    ZoekPath->setFont(arial(ZoekPath->font()));
    ZoekPath->setTextFormat(Qt::PlainText);
    ZoekPath->setFrameShape(QFrame::Panel);
    ZoekPath->setFrameShadow(QFrame::Sunken);
    widgets::fillBackground(ZoekPath, QColor(190, 230, 220));

    Label1 = backdrop(Frame1, "Label1", 5610, 210, 780, 360);
    PathKnop = button(Frame1, "PathKnop", QStringLiteral("Path"), QColor(255, 224, 192), 5640, 240, 720, 300);
    PathKnop->setToolTip(QStringLiteral(" Path to Mp3 files "));

    List1 = place<QListView>(Frame1, "List1", 105, 630, 6285, 2205);
    List1Model = new QStringListModel(List1);
    List1->setModel(List1Model);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List1->setUniformItemSizes(true);
    // Long names scroll sideways rather than lose their end.
    List1->setTextElideMode(Qt::ElideNone);
    List1->setFont(arial(List1->font()));
    List1->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    List1->setToolTip(QStringLiteral(" Dubbelklik is selecteren "));
    widgets::readerName(List1, QStringLiteral("Gevonden songs"));
    widgets::fillBackground(List1, QColor(224, 224, 224));

    List2 = new QListView(this);
    List2->setObjectName(QStringLiteral("List2"));
    List2Model = new QStringListModel(List2);
    List2->setModel(List2Model);
    List2->setVisible(false);

    Label2 = backdrop(Frame1, "Label2", 105, 2940, 1860, 360);
    ZoekKnop =
        button(Frame1, "ZoekKnop", QStringLiteral("Start"), QColor(192, 192, 255), 135, 2970, 810, 300);
    SelectAllKnop = button(Frame1, "SelectAllKnop", QStringLiteral("Select all"), QColor(192, 255, 192), 945,
                           2970, 990, 300);

    Text1 = place<QLineEdit>(Frame1, "Text1", 2040, 2955, 2610, 330);
    Text1->setFont(arial(Text1->font()));
    widgets::fillBackground(Text1, QColor(230, 220, 190));
    Text1->installEventFilter(this);
    widgets::readerName(Text1, QStringLiteral("Zoekwoord"));

    Label3 = backdrop(Frame1, "Label3", 4740, 2940, 1680, 360);
    CancelKnop =
        button(Frame1, "CancelKnop", QStringLiteral("Cancel"), QColor(192, 255, 192), 4770, 2970, 810, 300);
    ExitKnop =
        button(Frame1, "ExitKnop", QStringLiteral("Exit"), QColor(255, 192, 192), 5580, 2970, 810, 300);
    ExitKnop->setToolTip(QStringLiteral(" Exit and save Path "));

    connect(PathKnop, &QPushButton::clicked, this, &Zoeken::PathKnop_Click);
    connect(ZoekKnop, &QPushButton::clicked, this, &Zoeken::ZoekKnop_Click);
    // Enter in the keyword box starts the search, as "Start" would.
    connect(Text1, &QLineEdit::returnPressed, this, &Zoeken::ZoekKnop_Click);
    connect(List1, &QListView::doubleClicked, this, &Zoeken::List1_DblClick);
    connect(SelectAllKnop, &QPushButton::clicked, this, &Zoeken::SelectAllKnop_Click);
    connect(ExitKnop, &QPushButton::clicked, this, &Zoeken::ExitKnop_Click);
    connect(CancelKnop, &QPushButton::clicked, this, &Zoeken::CancelKnop_Click);
}

void Zoeken::Form_Load() {
    setWindowTitle(search::kWindowTitle);
    // The window was laid out for an 8-point dialog font; at that size the instruction lines fit.
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    // The outer size is 6750 x 3915 twips; what is left inside the frame of a dialog window.
    setFixedSize(px(6660), px(3480));
    createControls();

    ZoekPath->setText(search::captionForFolder(m_state.settings.searchFolder));
    Text1->setText(search::kPlaceholder);
    List1Model->setStringList(search::instructionLines());

    if (const QScreen* s = parentWidget() ? parentWidget()->screen() : screen()) {
        const QRect area = s->availableGeometry();
        move(area.center() - rect().center());
    }
}

bool Zoeken::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text1 && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Text1_Click();
    }
    return QDialog::eventFilter(watched, event);
}

void Zoeken::PathKnop_Click() {
    QFileDialog dialog(this, search::kFolderPrompt);
    dialog.setObjectName(QStringLiteral("PathDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    const QString current = search::folderFromCaption(ZoekPath->text());
    dialog.setDirectory(QFileInfo(current).isDir() ? current : QDir::homePath());
    addPrompt(dialog, search::kFolderPrompt);

    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty()) {
        return;
    }
    ZoekPath->setText(search::captionForFolder(chosen.first()));
}

void Zoeken::Text1_Click() {
    if (Text1->text() == search::kPlaceholder) {
        Text1->clear();
    }
}

void Zoeken::ZoekKnop_Click() {
    const QString keyword = Text1->text();
    if (!search::keywordAccepted(keyword)) {
        widgets::inform(this, search::kKeywordMessage);
        return;
    }

    const BusyPointer busy;
    List1Model->setStringList({});
    List2Model->setStringList({});
    mp3Total = 0;

    SearchResults results;
    search::ScanFolder(search::folderFromCaption(ZoekPath->text()), keyword, results);
    List2Model->setStringList(results.paths);
    List1Model->setStringList(results.names);
    mp3Total = results.mp3Total;
    if (results.unreadable > 0) {
        widgets::SetInfoLine(m_infoLabel, browse::unreadableText(results.unreadable));
    }

    setWindowTitle(search::foundCaption(List1Model->rowCount(), mp3Total));
    search::Delay(1.0);
}

void Zoeken::addToPlaylist(bool everyLine) {
    const QStringList lines = List1Model->stringList();
    if (lines.isEmpty() || lines.first().isEmpty()) {
        return;
    }
    const QStringList paths = List2Model->stringList();
    const QItemSelectionModel* selection = List1->selectionModel();
    QVector<PlaylistEntry> entries;
    for (qsizetype i = 0; i < lines.size() && i < paths.size(); ++i) {
        if (everyLine || selection->isRowSelected(static_cast<int>(i), QModelIndex())) {
            entries.append({search::displayName(lines.at(i)), paths.at(i)});
        }
    }
    const int added = m_playlist.appendMany(entries);
    m_playlist.refreshCount();
    if (added < entries.size()) {
        widgets::warn(this, PlaylistModel::fullText(added, static_cast<int>(entries.size())));
    }
}

void Zoeken::List1_DblClick() {
    addToPlaylist(false);
}

void Zoeken::SelectAllKnop_Click() {
    addToPlaylist(true);
}

void Zoeken::ExitKnop_Click() {
    m_state.settings.searchFolder = search::folderFromCaption(ZoekPath->text());
    accept();
}

void Zoeken::CancelKnop_Click() {
    reject();
}
