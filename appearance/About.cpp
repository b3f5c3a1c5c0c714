#include "appearance/About.h"

#include "widgets/Plaatjes.h"

#include <QLabel>
#include <QPushButton>

namespace {

QRect twips(int left, int top, int width, int height) {
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

} // namespace

About::About(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("About"));
    setModal(true);
    Form_Load();
}

QString About::aboutText() {
    return QStringLiteral("Programma voor het beheren en afspelen van Mp3 en Midi bestanden. "
                          "Stel uw playlist samen en luister. Versie ") +
           QStringLiteral(TUNARA_VERSION);
}

void About::Form_Load() {
    // The original's small sans-serif dialog font: Arial 8 point (or its metric twin).
    setFont(QFont(QStringLiteral("Arial"), 8));
    setWindowTitle(QStringLiteral(" About..."));
    // 4800 x 2145 twips is the outer size; the client area is what a dialog frame leaves of it.
    setFixedSize(312, 116);

    auto* image1 = new QLabel(this);
    image1->setObjectName(QStringLiteral("Image1"));
    image1->setGeometry(QRect(210 / 15, 180 / 15, 32, 32));
    image1->setPixmap(Plaatjes::aboutIcon().pixmap(QSize(32, 32), devicePixelRatioF()));

    auto* image2 = new QLabel(this);
    image2->setObjectName(QStringLiteral("Image2"));
    image2->setGeometry(twips(900, 120, 3690, 660));
    image2->setPixmap(Plaatjes::aboutBanner().pixmap(image2->size(), devicePixelRatioF()));

    auto* label4 = new QLabel(this);
    label4->setObjectName(QStringLiteral("Label4"));
    label4->setGeometry(twips(210, 975, 3300, 750));
    label4->setWordWrap(true);
    label4->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label4->setText(aboutText());

    auto* label1 = new QLabel(this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setGeometry(twips(3720, 1200, 900, 390));
    label1->setFrameShape(QFrame::Panel);
    label1->setFrameShadow(QFrame::Sunken);

    auto* okKnop = new QPushButton(QStringLiteral("Ok"), this);
    okKnop->setObjectName(QStringLiteral("OkKnop"));
    okKnop->setGeometry(twips(3750, 1230, 840, 330));
    okKnop->setDefault(true);
    connect(okKnop, &QPushButton::clicked, this, &About::OkKnop_Click);
}

void About::OkKnop_Click() {
    accept();
}
