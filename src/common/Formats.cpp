#include "Formats.h"

#include "Clock.h"

QString DataAAAAMMDD(const QDate& date) {
    return date.toString(QStringLiteral("yyyyMMdd"));
}

QString DataAAAAMMDD(const Clock& clock) {
    return DataAAAAMMDD(clock.today());
}

int CentroVertical(int windowHeight, int screenHeight) {
    return (screenHeight - windowHeight) / 2;
}

QString TaxaTransferencia(qint64 bytes, const QTime& start, const QTime& end) {
    constexpr double secondsPerDay = 86400.0;
    double elapsed = (end.msecsSinceStartOfDay() - start.msecsSinceStartOfDay()) / 1000.0;
    if (elapsed < 0)
        elapsed += secondsPerDay; // crossed midnight
    if (elapsed == 0)
        return QStringLiteral("0");
    // asprintf ignores the locale, so the decimal separator is always a point.
    return QString::asprintf("%5.2f", double(bytes) / elapsed);
}

namespace {

bool isSeparator(QChar c) {
    return c == QLatin1Char('/') || c == QLatin1Char('\\');
}

qsizetype firstSeparator(const QString& text, qsizetype from) {
    for (qsizetype i = from; i < text.size(); ++i)
        if (isSeparator(text[i]))
            return i;
    return text.size();
}

} // namespace

FtpAddress SeparaEnderecoFTP(const QString& address) {
    FtpAddress result;
    qsizetype hostEnd = 0;
    while (hostEnd < address.size() && address[hostEnd] != QLatin1Char(':') && !isSeparator(address[hostEnd]))
        ++hostEnd;
    result.host = address.left(hostEnd);

    if (hostEnd < address.size() && address[hostEnd] == QLatin1Char(':')) {
        const qsizetype portEnd = firstSeparator(address, hostEnd + 1);
        result.port = address.mid(hostEnd + 1, portEnd - hostEnd - 1);
        result.directory = address.mid(portEnd);
    } else {
        // Without a port the directory is taken relative to the login directory: the separators
        // around it go, those between its levels stay.
        QString rest = address.mid(hostEnd);
        qsizetype from = 0;
        qsizetype to = rest.size();
        while (from < to && isSeparator(rest[from]))
            ++from;
        while (to > from && isSeparator(rest[to - 1]))
            --to;
        result.port = QStringLiteral("21");
        result.directory = rest.mid(from, to - from);
    }

    bool validPort = false;
    result.port.toInt(&validPort);
    if (!validPort)
        result.port = QStringLiteral("21");
    if (result.directory.isEmpty())
        result.directory = QStringLiteral("/");
    return result;
}

QString FormataCNPJ(const QString& text, bool punctuate) {
    QString digits;
    for (const QChar c : text)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
    if (!punctuate)
        return digits;

    QString formatted;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i == 2 || i == 5)
            formatted += QLatin1Char('.');
        else if (i == 8)
            formatted += QLatin1Char('/');
        else if (i == 12)
            formatted += QLatin1Char('-');
        formatted += digits[i];
    }
    return formatted;
}

QString FormataCPF(const QString& cpf) {
    if (cpf.isEmpty())
        return {};
    return cpf.left(9) + QLatin1Char('-') + cpf.mid(9);
}

QString RemoveBrancos(const QString& text) {
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text[from] == QLatin1Char(' '))
        ++from;
    while (to > from && text[to - 1] == QLatin1Char(' '))
        --to;
    return text.mid(from, to - from);
}

QString textoDataHoraRapido(const QDateTime& when, QStringView pattern) {
    const QDate d = when.date();
    const QTime t = when.time();
    QString text;
    text.reserve(pattern.size());
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        qsizetype run = 1;
        while (i + run < pattern.size() && pattern[i + run] == c)
            ++run;
        int value = -1;
        switch (c.unicode()) {
        case u'd':
            value = d.day();
            break;
        case u'M':
            value = d.month();
            break;
        case u'y':
            value = d.year();
            break;
        case u'h':
            value = t.hour();
            break;
        case u'm':
            value = t.minute();
            break;
        case u's':
            value = t.second();
            break;
        case u'z':
            value = t.msec();
            break;
        default:
            break;
        }
        if (value < 0) {
            text.append(pattern.mid(i, run));
        } else {
            const qsizetype end = text.size() + run;
            text.resize(end);
            for (qsizetype k = end - 1; k >= end - run; --k, value /= 10)
                text[k] = QChar(u'0' + value % 10);
        }
        i += run;
    }
    return text;
}
