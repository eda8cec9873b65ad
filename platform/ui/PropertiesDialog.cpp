#include "platform/ui/PropertiesDialog.h"

#include "platform/FileName.h"
#include "platform/Prompter.h"
#include "platform/ui/FileIcons.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QtConcurrent/QtConcurrentRun>

namespace {

QString sizeText(std::int64_t bytes)
{
    return QLocale().formattedDataSize(bytes) + QStringLiteral(" (") + QLocale().toString(qint64(bytes))
        + QStringLiteral(" bytes)");
}

QString timeText(const QDateTime& time)
{
    return time.isValid() ? QLocale().toString(time, QLocale::LongFormat)
                          : QStringLiteral("Not recorded by this file system");
}

QLabel* valueLabel(const QString& text, QWidget* parent, const QString& name)
{
    auto* label = new QLabel(FileName::display(text), parent);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

PropertiesDialog::PropertiesDialog(const QString& path, const FileProperties& properties, QWidget* parent)
    : QDialog(parent), m_path(path), m_properties(properties), m_stop(std::make_shared<std::atomic<bool>>(false))
{
    setObjectName(QStringLiteral("PropertiesDialog"));
    setWindowTitle(FileName::display(properties.name) + QStringLiteral(" Properties"));
    auto* form = new QFormLayout;
    auto* icon = new QLabel(this);
    icon->setPixmap(FileIcons::forFile(path, properties.isFolder).pixmap(32, 32));
    form->addRow(icon, valueLabel(properties.name, this, QStringLiteral("LabelName")));
    form->addRow(QStringLiteral("Type:"), valueLabel(properties.typeName, this, QStringLiteral("LabelType")));
    form->addRow(QStringLiteral("Location:"), valueLabel(properties.location, this, QStringLiteral("LabelLocation")));
    if (!properties.linkTarget.isEmpty())
        form->addRow(QStringLiteral("Target:"), valueLabel(properties.linkTarget, this, QStringLiteral("LabelTarget")));
    m_size = valueLabel(properties.isFolder ? QStringLiteral("Calculating...") : sizeText(properties.size), this,
                        QStringLiteral("LabelSize"));
    form->addRow(QStringLiteral("Size:"), m_size);
    form->addRow(QStringLiteral("Modified:"), valueLabel(timeText(properties.modified), this, QStringLiteral("LabelModified")));
    form->addRow(QStringLiteral("Accessed:"), valueLabel(timeText(properties.accessed), this, QStringLiteral("LabelAccessed")));
    form->addRow(QStringLiteral("Created:"), valueLabel(timeText(properties.created), this, QStringLiteral("LabelCreated")));
    form->addRow(QStringLiteral("Owner:"), valueLabel(properties.owner + QStringLiteral(" (group ") + properties.group
                                                          + QStringLiteral(")"), this, QStringLiteral("LabelOwner")));
    addPermissionBoxes(form);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &PropertiesDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PropertiesDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    if (properties.isFolder) {
        connect(&m_total, &QFutureWatcher<FileProperties::Total>::finished, this, &PropertiesDialog::folderTotalReady);
        const auto stop = m_stop;
        m_total.setFuture(QtConcurrent::run([path, stop] { return FileProperties::folderTotal(path, stop.get()); }));
    }
}

PropertiesDialog::~PropertiesDialog()
{
    *m_stop = true;
    m_total.waitForFinished();
}

void PropertiesDialog::addPermissionBoxes(QFormLayout* form)
{
    auto* grid = new QGridLayout;
    const char* const who[] = {"Owner", "Group", "Others"};
    const char* const what[] = {"Read", "Write", "Execute"};
    for (int row = 0; row < 3; ++row) {
        grid->addWidget(new QLabel(QLatin1String(who[row]), this), row, 0);
        for (int column = 0; column < 3; ++column) {
            auto* box = new QCheckBox(QLatin1String(what[column]), this);
            const int index = row * 3 + column;
            box->setObjectName(QStringLiteral("CheckBox%1%2").arg(QLatin1String(who[row]), QLatin1String(what[column])));
            box->setChecked(m_properties.permissions & (0400u >> index));
            box->setEnabled(m_properties.canChangePermissions);
            grid->addWidget(box, row, column + 1);
            m_boxes[std::size_t(index)] = box;
        }
    }
    form->addRow(QStringLiteral("Permissions:"), grid);
}

unsigned PropertiesDialog::chosenPermissions() const
{
    unsigned bits = m_properties.permissions & 07000; // set-id and sticky bits stay
    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        if (m_boxes[i]->isChecked())
            bits |= 0400u >> i;
    }
    return bits;
}

void PropertiesDialog::folderTotalReady()
{
    const FileProperties::Total total = m_total.result();
    m_size->setText(sizeText(total.bytes) + QStringLiteral(", ") + QLocale().toString(qint64(total.files))
                    + QStringLiteral(" files, ") + QLocale().toString(qint64(total.folders)) + QStringLiteral(" folders")
                    + (total.complete ? QString() : QStringLiteral(" (some folders could not be read)")));
}

void PropertiesDialog::accept()
{
    if (m_properties.canChangePermissions && chosenPermissions() != m_properties.permissions) {
        if (const Status changed = FileProperties::setPermissions(m_path, chosenPermissions()); !changed) {
            Prompter::instance().error(QStringLiteral("Cannot change the permissions of \"") + m_path + QStringLiteral("\":\r\n")
                                       + changed.errorString());
            return;
        }
    }
    QDialog::accept();
}

QString ShowProperties(const QString& path, QWidget* parent)
{
    const Result<FileProperties> properties = FileProperties::read(path);
    if (!properties)
        return properties.errorString();
    auto* dialog = new PropertiesDialog(path, *properties, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    return QString();
}
