#include "appearance/AppearanceController.h"

#include "appearance/About.h"
#include "appearance/Colors.h"
#include "appearance/ColorsPlacement.h"

#include "common/SettingsFile.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QToolTip>

#include <algorithm>

namespace {

// InfoLabel as designed: 4275 twips wide. The window lets it run to the end of the info bar so
// that long song names fit, and then it would cover nearly all of Label6.
constexpr int kInfoLabelDesignedWidth = 4275 / 15;

// Whether `pos` (InfoLabel's own pixels) lies on the info text: its designed area, or further
// right where a longer text runs. Beyond that the user sees the bar, Label6.
bool onInfoText(const QLabel* infoLabel, QPoint pos) {
    const int textRight =
        infoLabel->contentsRect().left() + infoLabel->fontMetrics().horizontalAdvance(infoLabel->text());
    return pos.x() < std::max(kInfoLabelDesignedWidth, textRight);
}

} // namespace

AppearanceController::AppearanceController(const MainContext& ctx, QObject* parent)
    : QObject(parent), m_ctx(ctx) {
    // The text comes from the user and the settings file: never read it as markup, which could
    // make the label load a file named in it (an image tag naming /dev/zero never ends).
    if (m_ctx.c.ReclameLabel) {
        m_ctx.c.ReclameLabel->setTextFormat(Qt::PlainText);
    }
    // A list takes its mouse events on its viewport, not on the list itself.
    for (QWidget* w : {static_cast<QWidget*>(m_ctx.c.List1 ? m_ctx.c.List1->viewport() : nullptr),
                       static_cast<QWidget*>(m_ctx.c.List2 ? m_ctx.c.List2->viewport() : nullptr),
                       static_cast<QWidget*>(m_ctx.c.Label6), static_cast<QWidget*>(m_ctx.c.InfoLabel),
                       static_cast<QWidget*>(m_ctx.c.Logo), static_cast<QWidget*>(m_ctx.c.ReclameLabel)}) {
        if (w) {
            w->installEventFilter(this);
        }
    }
}

bool AppearanceController::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::ToolTip && watched == m_ctx.c.InfoLabel && m_ctx.c.Label6) {
        // Beside the text the bar's own tip applies.
        const auto* help = static_cast<QHelpEvent*>(event);
        if (!onInfoText(m_ctx.c.InfoLabel, help->pos())) {
            QToolTip::showText(help->globalPos(), m_ctx.c.Label6->toolTip(), m_ctx.c.Label6);
            return true;
        }
    }
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick) {
        return QObject::eventFilter(watched, event);
    }
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const MainControls& c = m_ctx.c;

    if (type == QEvent::MouseButtonDblClick && mouse->button() == Qt::LeftButton) {
        if (watched == c.Logo) {
            Logo_DblClick();
            return true;
        }
        if (watched == c.ReclameLabel) {
            ReclameLabel_DblClick();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

    // The second press of a quick double right-click is delivered as a double-click; it is
    // no new mouse-down, and the list must not select on it either.
    const bool rightDoubleClick = type == QEvent::MouseButtonDblClick && mouse->button() == Qt::RightButton;
    const QPoint pos = mouse->position().toPoint();
    if (c.List1 && watched == c.List1->viewport()) {
        if (rightDoubleClick) {
            return true;
        }
        if (type == QEvent::MouseButtonPress) {
            List1_MouseDown(mouse->button(), mouse->modifiers(), c.List1->viewport()->mapTo(c.List1, pos));
        }
    } else if (c.List2 && watched == c.List2->viewport()) {
        if (rightDoubleClick) {
            return true;
        }
        if (type == QEvent::MouseButtonPress) {
            List2_MouseDown(mouse->button(), mouse->modifiers(), c.List2->viewport()->mapTo(c.List2, pos));
        }
    } else if (watched == c.Label6 && type == QEvent::MouseButtonPress) {
        Label6_MouseDown(mouse->button(), mouse->modifiers(), pos);
    } else if (watched == c.InfoLabel && type == QEvent::MouseButtonPress) {
        if (onInfoText(c.InfoLabel, pos) || !c.Label6) {
            InfoLabel_MouseDown(mouse->button(), mouse->modifiers(), pos);
        } else {
            Label6_MouseDown(mouse->button(), mouse->modifiers(),
                             c.Label6->mapFromGlobal(c.InfoLabel->mapToGlobal(pos)));
        }
    } else {
        return QObject::eventFilter(watched, event);
    }
    // A right press belongs to the editor alone: a list would otherwise select the row under it.
    return mouse->button() == Qt::RightButton;
}

void AppearanceController::List1_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, QPoint pos) {
    if (button == Qt::RightButton) {
        openColors(Pane::Left, pos, appearance::kList1OffsetTwips, QStringLiteral(" Kleuren links"));
    }
}

void AppearanceController::List2_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, QPoint pos) {
    if (button == Qt::RightButton) {
        openColors(Pane::Right, pos, appearance::kList2OffsetTwips, QStringLiteral(" Kleuren rechts"));
    }
}

void AppearanceController::Label6_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, QPoint pos) {
    if (button == Qt::RightButton) {
        openColors(Pane::InfoBars, pos, appearance::kInfoBarOffsetTwips,
                   QStringLiteral(" Kleuren infobalken"));
    }
}

void AppearanceController::InfoLabel_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, QPoint pos) {
    if (button == Qt::RightButton) {
        openColors(Pane::Texts, pos, appearance::kInfoBarOffsetTwips, QStringLiteral(" Kleuren teksten"));
    }
}

void AppearanceController::openColors(Pane pane, QPoint pos, QPoint offsetTwips, const QString& caption) {
    ProgramState& state = m_ctx.state;
    state.colourTarget = pane;

    Colors editor(state, m_ctx.c, m_ctx.c.Main);
    const QScreen* screen = m_ctx.c.Main ? m_ctx.c.Main->screen() : nullptr;
    const QRect screenGeometry = screen ? screen->geometry() : QRect();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    editor.move(appearance::editorTopLeft(pos, offsetTwips, screenGeometry, available, Colors::kOuterSize));
    editor.setWindowTitle(caption);
    editor.exec();
}

void AppearanceController::showAbout() {
    About about(m_ctx.c.Main);
    about.exec();
}

bool AppearanceController::loadLogo(QLabel* logo, const QString& path) {
    // Only a regular file: reading a named pipe or a device would block the window for good.
    if (!logo || path.isEmpty() || !QFileInfo(path).isFile()) {
        return false;
    }
    const qreal ratio = logo->devicePixelRatioF();
    const QSize target = logo->size() * ratio;
    if (target.isEmpty()) {
        return false;
    }
    // Decoding straight to the logo's size keeps a camera-sized picture from costing its full
    // size in memory. A picture that declares absurd dimensions is refused from its header alone:
    // decoding it would hold the window for seconds.
    QImageReader reader(path);
    const QSize declared = reader.size();
    if (declared.width() > kMaxLogoSide || declared.height() > kMaxLogoSide) {
        return false;
    }
    reader.setAutoTransform(true);
    reader.setScaledSize(target);
    QImage image = reader.read();
    if (image.isNull()) {
        return false;
    }
    if (image.size() != target) {
        image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(ratio);
    logo->setPixmap(pixmap);
    return true;
}

void AppearanceController::Logo_DblClick() {
    Settings& settings = m_ctx.state.settings;
    QFileDialog dialog(m_ctx.c.Main);
    dialog.setObjectName(QStringLiteral("CommonDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({QStringLiteral("Logo ( Jpg, Bmp, Gif ) (*.jpg *.bmp *.gif)"),
                           QStringLiteral("Logo ( Png, Jpeg ) (*.png *.jpeg)")});
    const QFileInfo current(settings.logoPath);
    if (!settings.logoPath.isEmpty() && current.absoluteDir().exists()) {
        dialog.setDirectory(current.absolutePath());
    }
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty()) {
        return;
    }
    // The path is kept even when the picture then fails to load: the user chose it.
    settings.logoPath = chosen.first();
    loadLogo(m_ctx.c.Logo, settings.logoPath);
}

void AppearanceController::ReclameLabel_DblClick() {
    Settings& settings = m_ctx.state.settings;
    QInputDialog box(m_ctx.c.Main);
    box.setObjectName(QStringLiteral("InputBox"));
    box.setWindowTitle(QStringLiteral(" Mijn tekst"));
    box.setLabelText(QStringLiteral("Geef uw reclame tekst..."));
    box.setInputMode(QInputDialog::TextInput);
    box.setTextValue(settings.advertText);
    // Wide enough to show the whole current text from its start, up to the screen's width.
    if (auto* edit = box.findChild<QLineEdit*>()) {
        const QScreen* screen = m_ctx.c.Main ? m_ctx.c.Main->screen() : nullptr;
        const int limit = screen ? screen->availableGeometry().width() - 60 : 1000;
        const int wanted = edit->fontMetrics().horizontalAdvance(settings.advertText) + 24;
        edit->setMinimumWidth(std::clamp(wanted, 200, std::max(200, limit)));
        edit->setCursorPosition(0);
    }
    if (box.exec() != QDialog::Accepted) {
        return;
    }
    if (box.textValue().isEmpty()) {
        return;
    }
    // Shown as the settings file will keep it, so the next start shows the same text. The text
    // shows on one line: pasted line breaks become blanks, so no part of it is cut off.
    QString oneLine = box.textValue();
    oneLine.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    oneLine.replace(u'\r', u' ');
    oneLine.replace(u'\n', u' ');
    const QString answer = common::settingsSafeText(oneLine);
    settings.advertText = answer;
    m_ctx.c.ReclameLabel->setText(answer);
}
