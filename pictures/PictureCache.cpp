#include "pictures/PictureCache.h"

#include <optional>

#include <QDir>
#include <QFileInfo>

#include "chords/ChordCatalog.h"
#include "chords/NamedVoicing.h"
#include "pictures/ChordDrawing.h"
#include "render/Highlight.h"

namespace {

// Written under another name and renamed, so a page never shows half a picture.
bool WriteIfMissing(const QDir& folder, const std::string& fileName, const std::string& name, bool mirrored) {
    const QString path = folder.filePath(QString::fromStdString(fileName));
    if (QFileInfo::exists(path))
        return true;
    const std::optional<Voicing> voicing = VoicingOfName(name);
    const std::optional<CChord> chord = voicing ? std::optional<CChord>(DiagramChordOf(*voicing)) : std::nullopt;
    const QString partial = path + QStringLiteral(".part");
    QString error;
    if (!CChordDrawing::WritePicture(chord ? &*chord : nullptr, QString::fromStdString(name), mirrored, partial,
                                     error)) {
        QFile::remove(partial);
        return false;
    }
    return QFile::rename(partial, path) || QFileInfo::exists(path);
}

} // namespace

QString CPictureCache::Folder(bool mirrored) const {
    return mirrored ? QDir(m_strFolder).filePath(QStringLiteral("Left")) : m_strFolder;
}

bool CPictureCache::Provide(const std::vector<std::string>& otherNames, bool mirrored) const {
    const QDir folder(Folder(mirrored));
    if (!folder.mkpath(QStringLiteral(".")))
        return false;
    bool written = true;
    if (mirrored) {
        for (int i = 0; i < CChordCatalog::kSize; ++i) {
            const std::string name = theChordCatalog.GetAt(i).GetName();
            written = WriteIfMissing(folder, name + ".gif", name, true) && written;
        }
    }
    for (const std::string& name : otherNames)
        written = WriteIfMissing(folder, OtherPictureName(name), name, mirrored) && written;
    return written;
}
