#include "PowerCut.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QMap>
#include <QSet>

namespace {

struct UndoRecord {
    char kind = 0;
    QString a;
    QString b;
    quint64 offset = 0;
    quint64 size = 0;
    QByteArray old;
};

QList<UndoRecord> readLog(const QString& path) {
    QFile file(path);
    QList<UndoRecord> records;
    if (!file.open(QIODevice::ReadOnly))
        return records;
    const QByteArray data = file.readAll();
    qsizetype at = 0;
    const auto number = [&](quint64& value) {
        if (at + qsizetype(sizeof value) > data.size())
            return false;
        memcpy(&value, data.constData() + at, sizeof value);
        at += sizeof value;
        return true;
    };
    const auto bytes = [&](QByteArray& value) {
        quint64 length = 0;
        if (!number(length) || at + qsizetype(length) > data.size())
            return false;
        value = data.mid(at, qsizetype(length));
        at += qsizetype(length);
        return true;
    };
    while (at < data.size()) {
        UndoRecord r;
        r.kind = data[at++];
        QByteArray a, b;
        if (!bytes(a) || !bytes(b) || !number(r.offset) || !number(r.size) || !bytes(r.old))
            break; // a record cut short by the kill was never acted on
        r.a = QString::fromUtf8(a);
        r.b = QString::fromUtf8(b);
        records << r;
    }
    return records;
}

} // namespace

QStringList simulatePowerCut(const QString& home, const QString& undoLog, const QDateTime& start) {
    QMap<QString, QList<UndoRecord>> pending; // writes since the file's last fsync
    QSet<QString> synced;                     // files fsynced after their last write
    for (const UndoRecord& r : readLog(undoLog)) {
        switch (r.kind) {
        case 'W':
            pending[r.a] << r;
            synced.remove(r.a);
            break;
        case 'S':
            pending.remove(r.a);
            synced.insert(r.a);
            break;
        case 'R':
            if (pending.contains(r.a))
                pending[r.b] = pending.take(r.a);
            else
                pending.remove(r.b);
            if (synced.remove(r.a))
                synced.insert(r.b);
            else
                synced.remove(r.b);
            break;
        case 'U':
            pending.remove(r.a);
            synced.remove(r.a);
            break;
        default:
            break;
        }
    }
    QStringList touched;
    for (auto it = pending.cbegin(); it != pending.cend(); ++it) {
        QFile file(it.key());
        if (!file.open(QIODevice::ReadWrite))
            continue;
        for (qsizetype i = it.value().size() - 1; i >= 0; --i) {
            const UndoRecord& r = it.value()[i];
            file.seek(qint64(r.offset));
            file.write(r.old);
            file.resize(qint64(r.size));
        }
        touched << QStringLiteral("%1: %2 unsynced write(s) undone").arg(it.key()).arg(it.value().size());
    }
    QDirIterator files(home, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        if (pending.contains(path) || synced.contains(path) || files.fileInfo().lastModified() < start ||
            files.fileInfo().size() == 0)
            continue;
        QFile::resize(path, 0);
        touched << path + QStringLiteral(": never synced, emptied");
    }
    return touched;
}
