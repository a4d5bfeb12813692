#include "ProgramSettings.h"

#include "Paths.h"

#include <QSettings>

ProgramSettings::ProgramSettings() : file_(Paths::settingsFile()) {}

ProgramSettings::ProgramSettings(QString file) : file_(std::move(file)) {}

QVariant ProgramSettings::value(const QString& key) const {
    // Read afresh each time: the file is small, and an edit takes effect on the next transfer.
    const QSettings settings(file_, QSettings::IniFormat);
    return settings.value(key);
}

int ProgramSettings::positiveNumber(const QString& key, int fallback) const {
    bool ok = false;
    const int number = value(key).toString().trimmed().toInt(&ok);
    return ok && number > 0 ? number : fallback;
}

int ProgramSettings::stallTimeoutSeconds() const {
    return positiveNumber(QStringLiteral("rede/TempoSemDados"), DefaultStallTimeoutSeconds);
}
