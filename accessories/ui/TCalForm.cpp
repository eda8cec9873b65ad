#include "accessories/ui/TCalForm.h"

#include "accessories/YearCalendar.h"
#include "accessories/ui/AnalogClock.h"
#include "platform/Prompter.h"

#include <QCalendarWidget>
#include <QFontDatabase>
#include <QFontDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTextCharFormat>
#include <QTime>
#include <QTimer>

TCalForm::TCalForm(const QString& folder, QWidget* parent)
    : QDialog(parent)
    , m_folder(folder)
    , m_printerFont(QFontDatabase::systemFont(QFontDatabase::FixedFont))
{
    setObjectName(QStringLiteral("CalForm"));
    setWindowTitle(QStringLiteral("Calendar"));
    buildControls();
    colourCalendar();
    updateYearButtons();
    tickClock();
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &TCalForm::tickClock);
    timer->start(1000);
}

void TCalForm::buildControls()
{
    m_calendar = new QCalendarWidget(this);
    m_calendar->setObjectName(QStringLiteral("OvcCalendar1"));
    m_calendar->setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_calendar->setFirstDayOfWeek(Qt::Sunday);
    m_digital = new QLabel(this);
    m_digital->setObjectName(QStringLiteral("OvcClock1"));
    m_digital->setAlignment(Qt::AlignCenter);
    m_digital->setStyleSheet(QStringLiteral("background: black; color: white; font: bold 18px monospace; padding: 4px;"));
    auto* analog = new AnalogClock(this);
    auto* link = new QLabel(QStringLiteral("<a href=\"%1\">World Clock</a>").arg(QLatin1String(kWorldClockAddress)), this);
    link->setObjectName(QStringLiteral("LabelWorldClock"));
    link->setOpenExternalLinks(true);
    auto* font = new QPushButton(QStringLiteral("Font"), this);
    font->setObjectName(QStringLiteral("SpeedButton1"));
    font->setToolTip(QStringLiteral("Font Selection"));
    m_printYear = new QPushButton(this);
    m_printYear->setObjectName(QStringLiteral("buttonprintyear"));
    m_printYear->setToolTip(QStringLiteral("Prints current year"));
    m_fileYear = new QPushButton(this);
    m_fileYear->setObjectName(QStringLiteral("buttonfileyear"));
    m_fileYear->setToolTip(QStringLiteral("Saves current year to text file"));
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("ButtonClose"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_calendar, 0, 0, 4, 1);
    grid->addWidget(m_digital, 0, 1, 1, 2);
    grid->addWidget(analog, 1, 1, 1, 2);
    grid->addWidget(link, 2, 1, 1, 2, Qt::AlignCenter);
    grid->addWidget(font, 3, 1);
    grid->addWidget(m_printYear, 4, 0, Qt::AlignLeft);
    grid->addWidget(m_fileYear, 4, 0, Qt::AlignRight);
    grid->addWidget(close, 4, 1, 1, 2);

    connect(m_calendar, &QCalendarWidget::currentPageChanged, this, &TCalForm::updateYearButtons);
    connect(font, &QPushButton::clicked, this, &TCalForm::SpeedButton1Click);
    connect(m_printYear, &QPushButton::clicked, this, &TCalForm::buttonprintyearClick);
    connect(m_fileYear, &QPushButton::clicked, this, &TCalForm::buttonfileyearClick);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

void TCalForm::colourCalendar()
{
    QTextCharFormat names;
    names.setForeground(QColor(128, 0, 0)); // maroon day names
    m_calendar->setHeaderTextFormat(names);
    QTextCharFormat weekend;
    weekend.setForeground(Qt::red);
    m_calendar->setWeekdayTextFormat(Qt::Saturday, weekend);
    m_calendar->setWeekdayTextFormat(Qt::Sunday, weekend);
    QTextCharFormat today;
    today.setFontWeight(QFont::Bold);
    today.setBackground(QColor(255, 230, 230));
    m_calendar->setDateTextFormat(QDate::currentDate(), today);
    m_calendar->setStyleSheet(QStringLiteral("QCalendarWidget QToolButton { color: blue; }"
                                             " QCalendarWidget QAbstractItemView:enabled { selection-background-color: red; }"));
}

int TCalForm::year() const
{
    return m_calendar->yearShown();
}

void TCalForm::updateYearButtons()
{
    const QString caption = QStringLiteral("Year ") + QString::number(year());
    m_printYear->setText(caption);
    m_fileYear->setText(caption);
}

void TCalForm::tickClock()
{
    m_digital->setText(QTime::currentTime().toString(QStringLiteral("h:mm:ss AP")));
}

void TCalForm::SpeedButton1Click()
{
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, m_printerFont, this);
    if (ok)
        m_printerFont = chosen;
}

void TCalForm::buttonprintyearClick()
{
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QPainter painter(&printer);
    QFont font = m_printerFont;
    font.setFixedPitch(true);
    painter.setFont(font);
    const int lineHeight = painter.fontMetrics().lineSpacing();
    int y = lineHeight;
    for (const QString& line : YearCalendar::text(year()).split(QLatin1Char('\n'))) {
        if (y > printer.pageLayout().paintRectPixels(printer.resolution()).height()) {
            printer.newPage();
            y = lineHeight;
        }
        painter.drawText(0, y, line);
        y += lineHeight;
    }
}

void TCalForm::buttonfileyearClick()
{
    if (const Status saved = YearCalendar::saveAsking(year(), m_folder); !saved)
        Prompter::instance().error(saved.errorString());
}
