// TAbZipKit::MakeSelfExtracting: stub program + archive, with the archive's offsets moved
// up by the stub's length so that readers find every entry in the joined file.
#include "TAbZipKit.h"

#include "format/ZipDirectory.h"
#include "io/EntryStreams.h"
#include "io/VolumeWriter.h"

#include <QFile>

namespace {

bool startsWith(const zipio::ReadDevice& device, const char* magic, size_t n)
{
    std::string head(n, '\0');
    return device.readAt(0, head.data(), n) && head == std::string(magic, n);
}

bool copyRange(const zipio::ReadDevice& from, uint64_t offset, uint64_t length, zipio::VolumeWriter& to)
{
    zipio::RangeSource source(from, offset, length);
    std::vector<uint8_t> chunk;
    while (source.consumed() < source.total()) {
        if (!source.next(chunk) || !to.write(chunk.data(), chunk.size()))
            return false;
    }
    return true;
}

} // namespace

bool TAbZipKit::MakeSelfExtracting(const QString& stubPath, const QString& archivePath, const QString& targetPath)
{
    zipio::FileDevice stub;
    zipio::FileDevice archive;
    if (!stub.open(stubPath))
        return fail(QStringLiteral("zip: %1").arg(stub.errorString()));
    if (!archive.open(archivePath))
        return fail(QStringLiteral("zip: %1").arg(archive.errorString()));
    if (!startsWith(stub, "\x7f" "ELF", 4))
        return fail(QStringLiteral("zip: %1 is not an executable program").arg(stubPath));
    if (!startsWith(archive, "PK", 2))
        return fail(QStringLiteral("zip: %1 does not begin with \"PK\"").arg(archivePath));
    zipfmt::ZipDirectory dir;
    if (!dir.read(archive, {0, archive.size()}))
        return fail(QStringLiteral("zip: %1: %2").arg(archivePath, dir.errorString()));

    const uint64_t shift = stub.size();
    zipio::VolumeWriter out(targetPath, 0);
    std::string central;
    for (auto h : dir.entries) {
        h.localHeaderOffset += shift;
        central += h.write();
    }
    zipfmt::EndPlace place;
    place.centralOffset = dir.centralDirectoryStart + shift;
    place.centralSize = central.size();
    place.entries = place.entriesOnLastDisk = dir.entries.size();
    place.endOffset = place.centralOffset + central.size();
    if (!out.start() || !copyRange(stub, 0, shift, out) || !copyRange(archive, 0, dir.centralDirectoryStart, out)
        || !out.write(central.data(), central.size())
        || !out.writeWhole(zipfmt::writeEndRecords(place, dir.comment)) || !out.commit())
        return fail(QStringLiteral("zip: ") + out.errorString());
    QFile::setPermissions(targetPath, QFile::permissions(targetPath) | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
    return true;
}
