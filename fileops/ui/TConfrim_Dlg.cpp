#include "fileops/ui/TConfrim_Dlg.h"

#include "platform/ChangeNotices.h"
#include "platform/FileName.h"
#include "platform/FileProperties.h"
#include "platform/LocalFiles.h"
#include "platform/PathText.h"
#include "platform/Pickers.h"
#include "platform/Prompter.h"
#include "platform/Shell.h"
#include "platform/ui/FileIcons.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QTimeEdit>
#include <QToolButton>

namespace {

constexpr int kWidth = 560;
constexpr int kOptionTop = 80;
// The buttons sit this far above the bottom edge.
constexpr int kButtonsAboveBottom = 40;

template <typename W>
W* named(W* widget, const char* name, const QString& hint = QString())
{
    widget->setObjectName(QLatin1String(name));
    widget->setToolTip(hint);
    return widget;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& caption, const QString& hint = QString())
{
    return named(new QCheckBox(caption, parent), name, hint);
}

// Places check boxes side by side, each in a cell of a fixed width (wider for a long caption).
void placeRow(std::initializer_list<QCheckBox*> boxes, int x, int y)
{
    for (QCheckBox* box : boxes) {
        const int width = qMax(100, box->sizeHint().width());
        box->setGeometry(x, y, width, 22);
        x += width + 4;
    }
}

QGroupBox* radioGroup(QWidget* parent, const char* name, const QString& title, const QStringList& items,
                      QButtonGroup* group)
{
    auto* box = named(new QGroupBox(title, parent), name);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(4, 0, 4, 0);
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items[i], box);
        group->addButton(radio, i);
        row->addWidget(radio);
    }
    return box;
}

} // namespace

TConfrim_Dlg::TConfrim_Dlg(OperationCode action, ConfirmResults& results, const QString& settingsPath, QWidget* parent)
    : QDialog(parent), m_action(BatchActionOf(action)), m_results(results), m_settingsPath(settingsPath)
{
    setObjectName(QStringLiteral("Confrim_Dlg"));
    setWindowTitle(QStringLiteral("Confirm"));
    setModal(true);
    build();
    LabelAction->setText(m_action.captionText());
}

void TConfrim_Dlg::build()
{
    ImageFileIcon = named(new QLabel(this), "ImageFileIcon");
    ImageFileIcon->setGeometry(8, 6, 32, 32);
    LabelAction = named(new QLabel(QStringLiteral("Action"), this), "LabelAction");
    LabelAction->setGeometry(48, 4, kWidth - 56, 28);
    LabelAction->setStyleSheet(QStringLiteral("color: navy; font-weight: bold; font-size: 15pt"));
    Label1 = named(new QLabel(QStringLiteral("ON:"), this), "Label1");
    Label1->setGeometry(48, 34, 28, 18);
    LabelFileName = named(new QLabel(this), "LabelFileName");
    LabelFileName->setGeometry(80, 34, kWidth - 88, 18);
    LabelFileName->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
    Label3 = named(new QLabel(QStringLiteral("To:"), this), "Label3");
    Label3->setGeometry(8, 56, 32, 22);
    EditToPathFile = named(new QLineEdit(this), "EditToPathFile", QStringLiteral("to Path/File"));
    EditToPathFile->setGeometry(48, 54, kWidth - 92, 24);
    ButtonBrowsePathFile = named(new QToolButton(this), "ButtonBrowsePathFile", QStringLiteral("Browse for folder/file"));
    ButtonBrowsePathFile->setText(QStringLiteral("..."));
    ButtonBrowsePathFile->setGeometry(kWidth - 40, 54, 32, 24);

    ComboBoxFileExt = named(new QComboBox(this), "ComboBoxFileExt", QStringLiteral("Enter new extention, or pick one"));
    ComboBoxFileExt->setEditable(true);
    ComboBoxFileExt->setMaxVisibleItems(12);
    ComboBoxFileExt->setGeometry(48, kOptionTop + 4, 140, 24);
    EditNumber = named(new QLineEdit(QStringLiteral("0"), this), "EditNumber", QStringLiteral("Enter Number sequence starts with"));
    EditNumber->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,6}")), EditNumber));
    EditNumber->setGeometry(48, kOptionTop + 4, 90, 24);
    LabelSearch = named(new QLabel(QStringLiteral("Search Text"), this), "LabelSearch");
    LabelSearch->setGeometry(48, kOptionTop, 200, 18);
    LabelReplace = named(new QLabel(QStringLiteral("Replace Text"), this), "LabelReplace");
    LabelReplace->setGeometry(270, kOptionTop, 200, 18);
    EditAppendPre = named(new QLineEdit(this), "EditAppendPre");
    EditAppendPost = named(new QLineEdit(this), "EditAppendPost");
    DatePicker = named(new QDateEdit(this), "DatePicker");
    DatePicker->setCalendarPopup(true);
    DatePicker->setGeometry(48, kOptionTop + 4, 130, 24);
    TimePicker = named(new QTimeEdit(this), "TimePicker");
    TimePicker->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    TimePicker->setGeometry(186, kOptionTop + 4, 110, 24);
    CheckBoxReadOnly = checkBox(this, "CheckBoxReadOnly", QStringLiteral("Read Only"));
    CheckBoxHidden = checkBox(this, "CheckBoxHidden", QStringLiteral("Hidden"));
    CheckBoxArchive = checkBox(this, "CheckBoxArchive", QStringLiteral("Archive"));
    CheckBoxSystem = checkBox(this, "CheckBoxSystem", QStringLiteral("System"));
    placeRow({CheckBoxReadOnly, CheckBoxHidden, CheckBoxArchive, CheckBoxSystem}, 48, kOptionTop + 32);
    LabelPassword = named(new QLabel(QStringLiteral("Password"), this), "LabelPassword");
    LabelPassword->setGeometry(8, kOptionTop + 6, 70, 20);
    MaskEditPassword = named(new QLineEdit(this), "MaskEditPassword", QStringLiteral("Enter password for Encrypted files"));
    MaskEditPassword->setEchoMode(QLineEdit::Password);
    MaskEditPassword->setGeometry(80, kOptionTop + 4, 110, 24);
    CheckBoxCreateFolders = checkBox(this, "CheckBoxCreateFolders", QStringLiteral("Create Folders"), QStringLiteral("Folders created as needed"));
    CheckBoxCreateFolders->setGeometry(200, kOptionTop + 5, 110, 22);
    CheckBoxRestorePath = checkBox(this, "CheckBoxRestorePath", QStringLiteral("Restore Path"),
                                   QStringLiteral("Paths in zip retained and used relative to base folder"));
    CheckBoxRestorePath->setGeometry(312, kOptionTop + 5, 100, 22);
    CheckBoxWarnOverwrite = checkBox(this, "CheckBoxWarnOverwrite", QStringLiteral("Warn Overwrite"));
    CheckBoxWarnOverwrite->setGeometry(414, kOptionTop + 5, 104, 22);
    buildZipPanel();

    ButtonYes = named(new QPushButton(QStringLiteral("&Yes"), this), "ButtonYes");
    ButtonYes->setDefault(true);
    ButtonCancel = named(new QPushButton(QStringLiteral("Cancel"), this), "ButtonCancel");
    LabelActionFiles = named(new QLabel(this), "LabelActionFiles");
    LabelActionFiles->hide();
    LabelSelFile = named(new QLabel(this), "LabelSelFile");
    LabelSelFile->hide();

    connect(ButtonYes, &QPushButton::clicked, this, &TConfrim_Dlg::ButtonYesClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ButtonBrowsePathFile, &QToolButton::clicked, this, &TConfrim_Dlg::ButtonBrowsePathFileClick);
    connect(ButtonMoreZip, &QPushButton::clicked, this, &TConfrim_Dlg::ButtonMoreZipClick);
    connect(m_compression, &QButtonGroup::idClicked, this, &TConfrim_Dlg::RadioGroupCompressionClick);
    connect(ComboBoxFileExt, &QComboBox::currentTextChanged, this, [this] { m_results.extIndex = ComboBoxFileExt->currentIndex(); });
}

void TConfrim_Dlg::buildZipPanel()
{
    PanelZip = named(new QFrame(this), "PanelZip");
    PanelZip->setFrameShape(QFrame::StyledPanel);
    m_compression = new QButtonGroup(this);
    m_deflation = new QButtonGroup(this);
    RadioGroupCompression = radioGroup(PanelZip, "RadioGroupCompression", QStringLiteral("Compression Method"),
                                       {QStringLiteral("Best"), QStringLiteral("Deflate"), QStringLiteral("Stored")}, m_compression);
    RadioGroupCompression->setToolTip(QStringLiteral("Best will deflate but if result is larger than original it will store file"));
    RadioGroupCompression->setGeometry(4, 2, 216, 42);
    RadioGroupDeflation = radioGroup(PanelZip, "RadioGroupDeflation", QStringLiteral("Deflation"),
                                     {QStringLiteral("Normal"), QStringLiteral("Maximum"), QStringLiteral("Fast"), QStringLiteral("Super Fast")},
                                     m_deflation);
    RadioGroupDeflation->setGeometry(224, 2, kWidth - 236, 42);
    CheckBoxStripDrive = checkBox(PanelZip, "CheckBoxStripDrive", QStringLiteral("Strip Drive"));
    CheckBoxStripPath = checkBox(PanelZip, "CheckBoxStripPath", QStringLiteral("Strip Path"));
    CheckBoxRemoveDots = checkBox(PanelZip, "CheckBoxRemoveDots", QStringLiteral("Remove Dots"));
    CheckBoxRecurse = checkBox(PanelZip, "CheckBoxRecurse", QStringLiteral("Recurse"));
    CheckBoxFreshen = checkBox(PanelZip, "CheckBoxFreshen", QStringLiteral("Freshen"));
    CheckBoxReplace = checkBox(PanelZip, "CheckBoxReplace", QStringLiteral("Replace"));
    CheckBoxDosMode = checkBox(PanelZip, "CheckBoxDosMode", QStringLiteral("Dos Mode (8.3 file)"));
    placeRow({CheckBoxStripDrive, CheckBoxStripPath, CheckBoxRemoveDots, CheckBoxRecurse}, 6, 48);
    placeRow({CheckBoxFreshen, CheckBoxReplace, CheckBoxDosMode}, 6, 78);
    Label2 = named(new QLabel(QStringLiteral("Span Threshold"), PanelZip), "Label2");
    Label2->setGeometry(6, 104, 100, 22);
    MaskEditSpanningThreshold = named(new QLineEdit(QStringLiteral("0"), PanelZip), "MaskEditSpanningThreshold",
                                      QStringLiteral("0 for single .zip, set for max zip (will create multiple files)"));
    MaskEditSpanningThreshold->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\s*\\d{0,15}\\s*")), MaskEditSpanningThreshold));
    MaskEditSpanningThreshold->setGeometry(110, 104, 120, 22);
    ButtonMoreZip = named(new QPushButton(QStringLiteral("+"), PanelZip), "ButtonMoreZip");
    ButtonMoreZip->setGeometry(kWidth - 48, 48, 24, 22);
}

int TConfrim_Dlg::compression() const
{
    return m_compression->checkedId() < 0 ? 0 : m_compression->checkedId();
}

int TConfrim_Dlg::deflation() const
{
    return m_deflation->checkedId() < 0 ? 0 : m_deflation->checkedId();
}

void TConfrim_Dlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TConfrim_Dlg::FormShow()
{
    const ZipOptions& zip = m_results.zip;
    m_compression->button(qBound(0, zip.compression, 2))->setChecked(true);
    m_deflation->button(qBound(0, zip.deflation, 3))->setChecked(true);
    RadioGroupDeflation->setEnabled(zip.compression != 2);
    CheckBoxStripDrive->setChecked(zip.stripDrive);
    CheckBoxStripPath->setChecked(zip.stripPath);
    CheckBoxRemoveDots->setChecked(zip.removeDots);
    CheckBoxRecurse->setChecked(zip.recurse);
    CheckBoxFreshen->setChecked(zip.freshen);
    CheckBoxReplace->setChecked(zip.replace);
    CheckBoxDosMode->setChecked(zip.dosMode);
    MaskEditSpanningThreshold->setText(QString::number(zip.spanThreshold));
    MaskEditPassword->setText(zip.password);
    CheckBoxCreateFolders->setChecked(zip.createFolders);
    CheckBoxRestorePath->setChecked(zip.restorePath);
    CheckBoxWarnOverwrite->setChecked(m_results.warnOverwrite);
    layoutForAction();

    // The path keeps the name's bytes: it is read through LocalFiles and FileProperties,
    // never through QFileInfo, which would reach another name.
    const QString selected = LabelSelFile->text();
    std::optional<FileProperties> file;
    if (LocalFiles::isFile(selected))
        if (Result<FileProperties> read = FileProperties::read(selected))
            file = *read;
    if (file) {
        const QString letters = ConfirmActions::attributeLetters(selected);
        CheckBoxReadOnly->setChecked(letters.contains(QLatin1Char('R')));
        CheckBoxArchive->setChecked(letters.contains(QLatin1Char('A')));
        CheckBoxSystem->setChecked(letters.contains(QLatin1Char('S')));
        CheckBoxHidden->setChecked(letters.contains(QLatin1Char('H')));
        const QDateTime modified = file->modified.toLocalTime();
        DatePicker->setDate(modified.date());
        TimePicker->setTime(modified.time());
    } else {
        // With no single file to take the stamp from, start at the present moment: a date
        // long past would be stamped on every file whose time the user did not mean to set.
        const QDateTime now = QDateTime::currentDateTime();
        DatePicker->setDate(now.date());
        TimePicker->setTime(now.time());
    }
    showFileInfo();

    ComboBoxFileExt->blockSignals(true);
    ComboBoxFileExt->clear();
    ComboBoxFileExt->addItems(ConfirmActions::loadExtensions(m_settingsPath));
    ComboBoxFileExt->setCurrentIndex(m_results.extIndex < ComboBoxFileExt->count() ? m_results.extIndex : -1);
    ComboBoxFileExt->blockSignals(false);
}

void TConfrim_Dlg::showFileInfo()
{
    const QString files = LabelActionFiles->text();
    if (LocalFiles::isFile(files)) {
        ImageFileIcon->setPixmap(FileIcons::forFile(files, false).pixmap(32, 32));
        LabelFileName->setText(FileName::display(PathText::nameOf(files)));
        ImageFileIcon->setToolTip(FileName::display(Prompter::displayText(ConfirmActions::fileHint(files))));
        return;
    }
    // "FilesLRG": several files, or a folder.
    ImageFileIcon->setPixmap(style()->standardIcon(QStyle::SP_FileDialogListView).pixmap(32, 32));
    LabelFileName->setText(FileName::display(files));
    ImageFileIcon->setToolTip(QString());
}

void TConfrim_Dlg::layoutForAction()
{
    const ConfirmControls controls = m_action.controls;
    const auto show = [&](QWidget* widget, ConfirmControl control) { widget->setVisible(controls.testFlag(control)); };
    show(PanelZip, ConfirmControl::Zip);
    show(LabelPassword, ConfirmControl::Password);
    show(MaskEditPassword, ConfirmControl::Password);
    show(CheckBoxCreateFolders, ConfirmControl::CreateFolders);
    show(CheckBoxRestorePath, ConfirmControl::RestorePath);
    show(CheckBoxWarnOverwrite, ConfirmControl::WarnOverwrite);
    show(ComboBoxFileExt, ConfirmControl::FileExt);
    show(EditNumber, ConfirmControl::Number);
    show(EditAppendPre, ConfirmControl::Texts);
    show(EditAppendPost, ConfirmControl::Texts);
    show(LabelSearch, ConfirmControl::TextLabels);
    show(LabelReplace, ConfirmControl::TextLabels);
    show(DatePicker, ConfirmControl::DateTime);
    show(TimePicker, ConfirmControl::DateTime);
    for (QCheckBox* box : {CheckBoxReadOnly, CheckBoxHidden, CheckBoxArchive, CheckBoxSystem})
        show(box, ConfirmControl::Attributes);
    const int textTop = controls.testFlag(ConfirmControl::TextLabels) ? kOptionTop + 20 : kOptionTop + 4;
    EditAppendPre->setGeometry(48, textTop, 210, 24);
    EditAppendPost->setGeometry(270, textTop, 210, 24);
    PanelZip->setGeometry(4, kOptionTop + 32, kWidth - 8, ConfirmActions::kZipPanelCollapsed);
    m_zipExpanded = false;
    ButtonMoreZip->setText(QStringLiteral("+"));
    setFixedSize(kWidth, m_action.height);
    const bool zip = controls.testFlag(ConfirmControl::Zip);
    placeButtons(zip ? PanelZip->geometry().bottom() + 1 + 2 : m_action.height - kButtonsAboveBottom);
}

void TConfrim_Dlg::placeButtons(int top)
{
    ButtonYes->setGeometry(kWidth / 2 - 130, top, 110, 28);
    ButtonCancel->setGeometry(kWidth / 2 + 20, top, 110, 28);
}

void TConfrim_Dlg::ButtonMoreZipClick()
{
    m_zipExpanded = !m_zipExpanded;
    ButtonMoreZip->setText(m_zipExpanded ? QStringLiteral("-") : QStringLiteral("+"));
    const int panelHeight = m_zipExpanded ? ConfirmActions::kZipPanelExpanded : ConfirmActions::kZipPanelCollapsed;
    PanelZip->resize(PanelZip->width(), panelHeight);
    setFixedSize(kWidth, m_zipExpanded ? ConfirmActions::kZipExpandedHeight : ConfirmActions::kZipCollapsedHeight);
    placeButtons(PanelZip->y() + panelHeight + 2);
    ComboBoxFileExt->move(ComboBoxFileExt->x(), PanelZip->y() + panelHeight + 2);
}

void TConfrim_Dlg::RadioGroupCompressionClick()
{
    const bool stored = m_compression->checkedId() == 2;
    if (stored)
        m_deflation->button(0)->setChecked(true);
    RadioGroupDeflation->setEnabled(!stored);
}

void TConfrim_Dlg::ButtonBrowsePathFileClick()
{
    if (!m_action.pickArchive) {
        const QString chosen = BrowseForFolder(QStringLiteral("Browse"), EditToPathFile->text());
        if (!chosen.isEmpty() && QFileInfo(chosen).isDir())
            EditToPathFile->setText(PathText::withTrailingSlash(chosen));
        return;
    }
    // The target's folder stands for the process's current folder, which the program keeps
    // out of browsed folders. A save dialog: the archive may be a new one, named here.
    const QString start = QFileInfo(EditToPathFile->text()).absolutePath();
    QString chosen = Pickers::instance().saveFile(QStringLiteral("Enter .ZIP file name or select"), start,
                                                  QStringLiteral("ZIP FILES *.ZIP (*.ZIP *.zip)"));
    if (chosen.isEmpty())
        return;
    if (QFileInfo(chosen).suffix().isEmpty())
        chosen += QStringLiteral(".ZIP");
    EditToPathFile->setText(chosen);
}

void TConfrim_Dlg::ButtonYesClick()
{
    const QString target = EditToPathFile->text();
    if (m_action.archiveTarget || QFileInfo(target).isDir()) {
        accept();
        return;
    }
    if (target.isEmpty() || !Prompter::instance().confirm(QStringLiteral("Create folder?\r\n") + target)) {
        reject();
        return;
    }
    if (!QDir().mkpath(target)) {
        Prompter::instance().error(QStringLiteral("Can not create folder ") + target);
        reject();
        return;
    }
    NotifyChange(ChangeEvent::UpdateDir, QDir::cleanPath(target));
    accept();
}

void TConfrim_Dlg::done(int result)
{
    if (!m_closed) {
        m_closed = true;
        m_results.target = result == QDialog::Accepted ? EditToPathFile->text() : QString();
        FormClose();
    }
    QDialog::done(result);
}

void TConfrim_Dlg::FormClose()
{
    ZipOptions& zip = m_results.zip;
    zip.compression = compression();
    zip.deflation = deflation();
    zip.stripDrive = CheckBoxStripDrive->isChecked();
    zip.stripPath = CheckBoxStripPath->isChecked();
    zip.removeDots = CheckBoxRemoveDots->isChecked();
    zip.recurse = CheckBoxRecurse->isChecked();
    zip.freshen = CheckBoxFreshen->isChecked();
    zip.replace = CheckBoxReplace->isChecked();
    zip.dosMode = CheckBoxDosMode->isChecked();
    // The box takes digits only; an empty box means one archive.
    zip.spanThreshold = MaskEditSpanningThreshold->text().trimmed().toLongLong();
    zip.password = MaskEditPassword->text();
    zip.createFolders = CheckBoxCreateFolders->isChecked();
    zip.restorePath = CheckBoxRestorePath->isChecked();

    m_results.newExtension = ComboBoxFileExt->currentText();
    QStringList items;
    for (int i = 0; i < ComboBoxFileExt->count(); ++i)
        items << ComboBoxFileExt->itemText(i);
    const QStringList saved = ConfirmActions::saveExtensions(m_settingsPath, items, m_results.newExtension, m_results.extIndex);
    ComboBoxFileExt->blockSignals(true);
    ComboBoxFileExt->clear();
    ComboBoxFileExt->addItems(saved);
    ComboBoxFileExt->blockSignals(false);

    m_results.firstNumber = EditNumber->text().trimmed();
    m_results.firstText = EditAppendPre->text();
    m_results.secondText = EditAppendPost->text();
    m_results.dateTime = QDateTime(DatePicker->date(), TimePicker->time());
    m_results.readOnly = CheckBoxReadOnly->isChecked();
    m_results.archive = CheckBoxArchive->isChecked();
    m_results.system = CheckBoxSystem->isChecked();
    m_results.hidden = CheckBoxHidden->isChecked();
    m_results.warnOverwrite = CheckBoxWarnOverwrite->isChecked();
}
