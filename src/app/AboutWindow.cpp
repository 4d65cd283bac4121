#include "app/AboutWindow.h"

#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

namespace {

const QString kSubtitle = QStringLiteral("Edytor kodu źródłowego stron WWW, wersja 1.6 PRO");
const QString kCredits = QStringLiteral("Velmora Software\n\nProgram: Velmora Soft.\n"
                                        "Kolorowanie składni, podgląd strony, kreatory i klient FTP");
const QString kClickToClose = QStringLiteral("Kliknij, aby zamknąć to okno.");

// The 420 × 300 about picture: the product name, a box of credits and an invitation to click.
QPixmap aboutPicture()
{
    QPixmap pm(420, 300);
    QPainter p(&pm);
    QLinearGradient sky(0, 0, 0, 300);
    sky.setColorAt(0, QColor(0x1E, 0x3C, 0x78));
    sky.setColorAt(1, QColor(0x08, 0x10, 0x28));
    p.fillRect(pm.rect(), sky);
    p.setRenderHint(QPainter::TextAntialiasing);

    QFont title(QStringLiteral("Verdana"));
    title.setPixelSize(54);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(0, 0, 0, 120));
    p.drawText(QRect(3, 23, 420, 80), Qt::AlignCenter, QStringLiteral("Tarnwick"));
    p.setPen(Qt::white);
    p.drawText(QRect(0, 20, 420, 80), Qt::AlignCenter, QStringLiteral("Tarnwick"));

    QFont small(QStringLiteral("Verdana"));
    small.setPixelSize(13);
    p.setFont(small);
    p.setPen(QColor(0xC8, 0xD8, 0xFF));
    p.drawText(QRect(0, 92, 420, 20), Qt::AlignCenter, kSubtitle);

    const QRect box(40, 125, 340, 110);
    p.fillRect(box, QColor(255, 255, 255, 30));
    p.setPen(QColor(0xC8, 0xD8, 0xFF));
    p.drawRect(box.adjusted(0, 0, -1, -1));
    p.setPen(Qt::white);
    p.drawText(box.adjusted(10, 8, -10, -8), Qt::AlignCenter | Qt::TextWordWrap, kCredits);

    p.setPen(QColor(0xFF, 0xE0, 0x80));
    p.drawText(QRect(0, 260, 420, 24), Qt::AlignCenter, kClickToClose);
    return pm;
}

} // namespace

AboutWindow::AboutWindow(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Informacje"));
    setFixedSize(420, 299);
    move(296, 222);
    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setGeometry(0, 0, 425, 305);
    picture->setPixmap(aboutPicture());
    picture->setAccessibleName(QStringLiteral("Informacje"));
    // The picture's words, for a screen reader that cannot read a bitmap.
    picture->setAccessibleDescription(QStringList{QStringLiteral("Tarnwick"), kSubtitle,
                                                  QString(kCredits).replace(QStringLiteral("\n\n"), QStringLiteral("\n")),
                                                  kClickToClose}
                                          .join(QLatin1Char('\n')));
    picture->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void AboutWindow::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    accept();
}
