#include "media/ui/TFormCD.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString kCaption = QStringLiteral("FolVane CD Player");
constexpr int kTimerMs = 1000;
constexpr int kHeightWithoutVolume = 100;

QPushButton* toolButton(QWidget* parent, const char* name, QStyle::StandardPixmap icon, const QString& hint)
{
    auto* button = new QPushButton(parent->style()->standardIcon(icon), QString(), parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(hint);
    return button;
}

void fillCombo(QComboBox* box, const QStringList& items, int index)
{
    QStringList shown;
    for (int i = 0; i < box->count(); ++i)
        shown << box->itemText(i);
    if (shown != items) {
        box->clear();
        box->addItems(items);
    }
    box->setCurrentIndex(index);
}

} // namespace

TFormCD::TFormCD(std::unique_ptr<CdAudioDevice> device, CdPlayer::DriveLister drives, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , m_player(std::make_unique<CdPlayer>(std::move(device), std::move(drives)))
{
    setObjectName(QStringLiteral("FormCD"));
    setWindowTitle(kCaption);
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    connectControls();
}

TFormCD::~TFormCD() = default;

void TFormCD::buildControls()
{
    m_panel2 = new QLabel(QStringLiteral("00:00 00:00"), this);
    m_panel2->setObjectName(QStringLiteral("Panel2"));
    m_panel2->setToolTip(QStringLiteral("double click to disable/enable timer displays"));
    m_panel2->setAlignment(Qt::AlignCenter);
    m_panel2->setStyleSheet(QStringLiteral("background: palette(window-text); color: aqua; font: bold 16px 'Arial';"));
    m_panel2->setMinimumHeight(30);
    m_panel2->installEventFilter(this);
    m_labelTracks = new QLabel(QStringLiteral("INFO"), this);
    m_labelTracks->setObjectName(QStringLiteral("LabelTracks"));
    QFont bold = m_labelTracks->font();
    bold.setBold(true);
    m_labelTracks->setFont(bold);

    m_play = toolButton(this, "ButtonPlay", QStyle::SP_MediaPlay, QStringLiteral("Play CD"));
    m_pause = toolButton(this, "ButtonPause", QStyle::SP_MediaPause, QStringLiteral("Pause CD"));
    m_stop = toolButton(this, "ButtonStop", QStyle::SP_MediaStop, QStringLiteral("Stop CD"));
    m_previous = toolButton(this, "ButtonStepBack", QStyle::SP_MediaSkipBackward, QStringLiteral("Previous track"));
    m_next = toolButton(this, "ButtonStepFwd", QStyle::SP_MediaSkipForward, QStringLiteral("Next track"));
    m_eject = toolButton(this, "ButtonEject", QStyle::SP_DriveCDIcon, QStringLiteral("Eject CD"));
    m_tracks = new QComboBox(this);
    m_tracks->setObjectName(QStringLiteral("ComboBoxTracks"));
    m_tracks->setToolTip(QStringLiteral("Pick track"));
    m_drives = new QComboBox(this);
    m_drives->setObjectName(QStringLiteral("ComboBoxDrives"));
    m_refreshDrives = toolButton(this, "Buttonrefreshdrives", QStyle::SP_BrowserReload, QStringLiteral("Refresh drives"));

    m_volLeft = new QSlider(Qt::Horizontal, this);
    m_volLeft->setObjectName(QStringLiteral("VolLeft"));
    m_volRight = new QSlider(Qt::Horizontal, this);
    m_volRight->setObjectName(QStringLiteral("VolRight"));
    for (QSlider* bar : {m_volLeft, m_volRight})
        bar->setRange(0, 65535);
    m_muteLeft = new QCheckBox(QStringLiteral("Mute Left"), this);
    m_muteLeft->setObjectName(QStringLiteral("CheckBoxMuteLeft"));
    m_muteRight = new QCheckBox(QStringLiteral("Mute Right"), this);
    m_muteRight->setObjectName(QStringLiteral("CheckBoxMuteRight"));

    auto* buttons = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{m_play, m_pause, m_stop, m_previous, m_next, m_eject, m_tracks})
        buttons->addWidget(w);
    auto* drives = new QHBoxLayout;
    drives->addWidget(m_drives, 1);
    drives->addWidget(m_refreshDrives);
    auto* volume = new QGridLayout;
    volume->addWidget(m_volLeft, 0, 0);
    volume->addWidget(m_volRight, 0, 1);
    volume->addWidget(m_muteLeft, 1, 0);
    volume->addWidget(m_muteRight, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_panel2);
    layout->addWidget(m_labelTracks);
    layout->addLayout(buttons);
    layout->addLayout(drives);
    layout->addLayout(volume);

    m_timer = new QTimer(this);
    m_timer->setInterval(kTimerMs);
    m_discWatch = new QTimer(this);
    m_discWatch->setInterval(kTimerMs);
}

void TFormCD::connectControls()
{
    connect(&m_player, &CdPlayerThread::stateChanged, this, &TFormCD::showState);
    connect(m_timer, &QTimer::timeout, this, &TFormCD::TimerCD);
    connect(m_discWatch, &QTimer::timeout, this, [this] {
        // A drive that is slow to answer gets no second question while the first waits.
        if (!isBusy())
            m_player.post([](CdPlayer& player) { player.followDiscs(); });
    });
    connect(m_play, &QPushButton::clicked, this, [this] { run(&CdPlayer::play); });
    connect(m_pause, &QPushButton::clicked, this, [this] { run(&CdPlayer::pause); });
    connect(m_stop, &QPushButton::clicked, this, [this] { run(&CdPlayer::stop); });
    connect(m_previous, &QPushButton::clicked, this, [this] { run(&CdPlayer::previous); });
    connect(m_next, &QPushButton::clicked, this, [this] { run(&CdPlayer::next); });
    connect(m_eject, &QPushButton::clicked, this, [this] { run(&CdPlayer::ejectOrClose); });
    connect(m_refreshDrives, &QPushButton::clicked, this, [this] { run(&CdPlayer::refreshDrives); });
    connect(m_tracks, &QComboBox::textActivated, this, [this](const QString& item) {
        m_player.post([item](CdPlayer& player) { player.pickTrack(item); });
    });
    connect(m_drives, &QComboBox::activated, this, [this](int index) {
        m_player.post([index](CdPlayer& player) { player.selectDrive(index); });
    });
    auto volume = [this] {
        if (m_showing)
            return;
        const int left = m_volLeft->value();
        const int right = m_volRight->value();
        m_player.post([left, right](CdPlayer& player) { player.setVolume(left, right); });
    };
    connect(m_volLeft, &QSlider::valueChanged, this, volume);
    connect(m_volRight, &QSlider::valueChanged, this, volume);
    connect(m_muteLeft, &QCheckBox::toggled, this, [this](bool on) {
        m_player.post([on](CdPlayer& player) { player.setChannelMuted(CdChannel::Left, on); });
    });
    connect(m_muteRight, &QCheckBox::toggled, this, [this](bool on) {
        m_player.post([on](CdPlayer& player) { player.setChannelMuted(CdChannel::Right, on); });
    });
}

void TFormCD::run(void (CdPlayer::*command)())
{
    m_player.post([command](CdPlayer& player) { (player.*command)(); });
}

void TFormCD::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TFormCD::FormShow()
{
    m_player.post([](CdPlayer& player) { player.start(); });
    m_discWatch->start();
}

void TFormCD::TimerCD()
{
    if (!isBusy())
        run(&CdPlayer::tick);
}

void TFormCD::showState(const CdPlayerState& state)
{
    m_state = state;
    const CdPlayerState& s = m_state;
    // The first state is the drive just opened: without a volume the window is shorter.
    if (!m_sized && !s.hasVolume)
        resize(width(), kHeightWithoutVolume);
    m_sized = true;
    m_showing = true;
    fillCombo(m_drives, s.drives, s.driveIndex);
    fillCombo(m_tracks, s.tracks, s.trackIndex);
    m_labelTracks->setText(s.tracksLabel);
    m_panel2->setText(s.timeText);
    m_eject->setEnabled(s.ejectEnabled);
    for (QWidget* w : std::initializer_list<QWidget*>{m_volLeft, m_volRight, m_muteLeft, m_muteRight})
        w->setVisible(s.hasVolume);
    if (s.hasVolume) {
        m_volLeft->setValue(s.volumeLeft);
        m_volRight->setValue(s.volumeRight);
    }
    setWindowTitle(isMinimized() && !s.minimisedCaption.isEmpty() ? s.minimisedCaption : kCaption);
    m_showing = false;
    if (s.timeDisplayOn && !m_timer->isActive())
        m_timer->start();
    else if (!s.timeDisplayOn)
        m_timer->stop();
}

void TFormCD::Panel2DblClick()
{
    run(&CdPlayer::toggleTimeDisplay);
}

bool TFormCD::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_panel2 && event->type() == QEvent::MouseButtonDblClick) {
        Panel2DblClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TFormCD::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        showState(m_state);
}

void TFormCD::closeEvent(QCloseEvent* event)
{
    // The player is stopped and closed on its thread as the window goes.
    m_timer->stop();
    m_discWatch->stop();
    QWidget::closeEvent(event);
}
