#include "ui/about_window.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace vorla {
namespace {
const QColor kNavy(0, 0, 128);

QLabel* MakeLabel(QWidget* parent, const char* name, const QRect& r, int pixels, bool navy) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setGeometry(r);
    QFont f = l->font();
    f.setPixelSize(pixels);
    l->setFont(f);
    if (navy) {
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, kNavy);
        l->setPalette(p);
    }
    return l;
}
}  // namespace

TAbo1F::TAbo1F(QWidget* parent) : QDialog(parent) {
    setObjectName("Abo1F");
    setWindowTitle("O aplikaci");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(368, 430);
    QFont font("MS Sans Serif");
    font.setPixelSize(14);
    setFont(font);

    LabelJmProgramu = MakeLabel(this, "LabelJmProgramu", QRect(138, 10, 228, 40), 28, true);
    LabelJmProgramu->setAlignment(Qt::AlignCenter);
    IkonaProgramu = new QLabel(this);
    IkonaProgramu->setObjectName("IkonaProgramu");
    IkonaProgramu->setGeometry(10, 10, 98, 49);
    IkonaProgramu->setScaledContents(true);
    IkonaProgramu->setPixmap(QPixmap::fromImage(Emblem()));
    LabelVerze = MakeLabel(this, "LabelVerze", QRect(197, 49, 109, 21), 15, true);
    LabelVerze->setAlignment(Qt::AlignCenter);

    LabelCredits = MakeLabel(this, "LabelCredits", QRect(14, 88, 340, 140), 14, false);
    LabelCredits->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    LabelCredits->setText(
        "Průzkumník dynamiky kruhové inverze\n\n"
        "Inverze ve dvou až pěti kružnicích\n"
        "a kvadrát na jednotkové kružnici\n\n"
        "Napsali vývojáři programu Vorla\n"
        "v C++ s knihovnou Qt 6");
    LabelNotice = MakeLabel(this, "LabelNotice", QRect(14, 245, 340, 120), 14, false);
    LabelNotice->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    LabelNotice->setWordWrap(true);
    LabelNotice->setText(
        "Program je volně k použití: smíte jej zdarma používat, kopírovat a šířit.\n\n"
        "Poskytuje se tak, jak je, bez jakékoli záruky.");

    ButOK = new QPushButton("Beru na vědomí", this);
    ButOK->setObjectName("ButOK");
    ButOK->setGeometry(137, 383, 110, 31);
    ButOK->setDefault(true);
    ButOK->setAutoDefault(true);
    connect(ButOK, &QPushButton::clicked, this, &QDialog::accept);
    FormCreate();
}

void TAbo1F::FormCreate() {
    LabelJmProgramu->setText("Program");
    LabelVerze->setText("Verze");
}

void TAbo1F::FormActivate() {
    LabelJmProgramu->setText(ProgramName);
    LabelVerze->setText("Verze " + ProgramVersion);
}

int TAbo1F::ShowAbout(const QString& name, const QString& version) {
    ProgramName = name;
    ProgramVersion = version;
    return exec();
}

// cppcheck-suppress unusedFunction ; Qt calls it
void TAbo1F::reject() {
    accept();
}

bool TAbo1F::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) FormActivate();
    return QDialog::event(e);
}

void TAbo1F::showEvent(QShowEvent* e) {
    // The captions are set anew whenever the window comes up, activated or not.
    FormActivate();
    ButOK->setFocus();
    if (QScreen* s = screen()) {
        QRect r = frameGeometry();
        r.moveCenter(s->availableGeometry().center());
        move(r.topLeft());
    }
    QDialog::showEvent(e);
}

QImage TAbo1F::Emblem() {
    QImage img(80, 40, QImage::Format_RGB32);
    img.fill(QColor(255, 255, 204));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(QColor(204, 0, 0));
    pen.setWidth(2);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    // Borders above and below, and a Greek-key meander between them.
    p.drawLine(2, 3, 77, 3);
    p.drawLine(2, 36, 77, 36);
    QPolygon key;
    for (int x = 4; x + 16 <= 78; x += 16) {
        key << QPoint(x, 31) << QPoint(x, 9) << QPoint(x + 12, 9) << QPoint(x + 12, 25)
            << QPoint(x + 6, 25) << QPoint(x + 6, 16) << QPoint(x + 9, 16);
        key << QPoint(x + 9, 16);  // the spiral's end; the next key starts from the base
        p.drawPolyline(key);
        key.clear();
        p.drawLine(x, 31, x + 16, 31);
    }
    return img;
}

}  // namespace vorla
