#include "viewers/image/ConversionJob.h"

std::optional<Conversion> ConversionJob::conversionNamed(const QString& name)
{
    for (const Conversion& conversion : PictureConverter::conversions()) {
        if (name == QLatin1String(conversion.name))
            return conversion;
    }
    return std::nullopt;
}

ConversionJob::ConversionJob(const Conversion& conversion, const QString& targetFolder, const QStringList& files)
    : m_converter(conversion, targetFolder, [this](const JobConflict& conflict) { return askConflict(conflict); })
    , m_files(files)
{
}

bool ConversionJob::plan()
{
    addTotal(m_files.size());
    return true;
}

void ConversionJob::execute()
{
    for (const QString& source : m_files) {
        if (stopped())
            return;
        setCurrentItem(source);
        if (m_converter.convert(source, m_messages) == PictureConverter::Outcome::Written)
            ++m_written;
        itemDone();
    }
}
