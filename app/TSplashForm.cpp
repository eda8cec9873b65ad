#include "app/TSplashForm.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

namespace {

QLabel* makeLabel(const QString& text, const QString& color, QWidget* parent, int pixelSize = 11, bool bold = false,
                  bool italic = false, const QString& family = QString())
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    if (!family.isEmpty())
        font.setFamily(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setItalic(italic);
    label->setFont(font);
    label->setStyleSheet(QStringLiteral("color: %1; background: transparent;").arg(color));
    return label;
}

// The splash picture: an open folder with a page in it, drawn at the size shown.
QPixmap folderPicture(int side)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal u = side / 16.0;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xc8, 0x8a, 0x10));
    painter.drawRoundedRect(QRectF(1 * u, 3 * u, 6 * u, 3 * u), u, u);
    painter.drawRoundedRect(QRectF(1 * u, 4 * u, 14 * u, 10 * u), u, u);
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(4 * u, 2 * u, 8 * u, 9 * u));
    painter.setPen(QPen(QColor(0x60, 0x60, 0x60), u * 0.4));
    for (int line = 0; line < 4; ++line)
        painter.drawLine(QPointF(5 * u, (4 + 1.6 * line) * u), QPointF(11 * u, (4 + 1.6 * line) * u));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xf5, 0xc2, 0x3a));
    const QPointF front[] = {{0.5 * u, 7 * u}, {15.5 * u, 7 * u}, {14.5 * u, 14 * u}, {1.5 * u, 14 * u}};
    painter.drawPolygon(front, 4);
    return pixmap;
}

} // namespace

TSplashForm::TSplashForm(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("SplashForm"));
    setWindowTitle(QStringLiteral("FolVane II"));
    setFixedSize(kWidth, kHeight);
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);

    auto* picture = new QLabel(this);
    picture->setPixmap(folderPicture(96));
    picture->setFixedSize(110, 110);
    picture->setAlignment(Qt::AlignCenter);

    auto* name = makeLabel(QStringLiteral("Folvane"), QStringLiteral("yellow"), this, 40, true, false, QStringLiteral("Arial"));
    auto* three = makeLabel(QStringLiteral("3"), QStringLiteral("yellow"), this, 16, false, true, QStringLiteral("Arial"));
    auto* title = new QHBoxLayout;
    title->addWidget(name);
    title->addWidget(three, 0, Qt::AlignTop);
    title->addStretch();

    auto* text = new QVBoxLayout;
    text->addLayout(title);
    text->addWidget(makeLabel(QStringLiteral("File Manager +"), QStringLiteral("white"), this, 16, true));
    auto* quick = makeLabel(
        QStringLiteral("Quick native file viewing (Zip, Text-Hex, Graphics, Movie, HTML) and other FILE TOOLS"),
        QStringLiteral("silver"), this, 11);
    quick->setWordWrap(true);
    text->addWidget(quick);

    auto* tools = new QVBoxLayout;
    tools->addWidget(makeLabel(QStringLiteral("FILE"), QStringLiteral("#00c0ff"), this, 18, true));
    tools->addWidget(makeLabel(QStringLiteral("TOOLS"), QStringLiteral("#00c0ff"), this, 18, true));
    tools->addStretch();

    m_label1 = makeLabel(QStringLiteral("Loading Drives, Folders & Files..."), QStringLiteral("gray"), this, 11,
                         false, false, QStringLiteral("Verdana"));
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setAlignment(Qt::AlignCenter);
    m_label1->setWordWrap(true);
    m_label1->setMinimumHeight(32);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(14, 14, 14, 10);
    grid->addWidget(picture, 0, 0, Qt::AlignTop);
    grid->addLayout(text, 0, 1);
    grid->addLayout(tools, 0, 2);
    grid->addWidget(m_label1, 1, 0, 1, 3);
    grid->setColumnStretch(1, 1);
}

void TSplashForm::loadProgress(int count, const QString& name)
{
    m_label1->setText(QStringLiteral("Loading Drives, Folders & Files... ") + name + QStringLiteral(" > ")
                      + QString::number(count));
    m_label1->show();
    m_label1->repaint();
}

void TSplashForm::showNow()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    repaint();
    // The one event round that must stay: the event loop starts only after the main window
    // is built, and until then the window system would not map the splash at all.
    QCoreApplication::processEvents();
}
