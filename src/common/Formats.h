#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

class Clock;

// Today's date as "YYYYMMDD", the stamp of batch numbers.
QString DataAAAAMMDD(const Clock& clock);
QString DataAAAAMMDD(const QDate& date);

// The top coordinate that centres a window of the given height vertically on a screen of the given height.
int CentroVertical(int windowHeight, int screenHeight);

// Transfer rate text: bytes per second, at least 5 characters, 2 decimals with a point, right
// aligned (2 bytes in 0.8 s give " 2.50"); "0" when no time has passed. Start and end are times of
// day; an end earlier than the start means the transfer crossed midnight. Callers append " bytes/seg".
QString TaxaTransferencia(qint64 bytes, const QTime& start, const QTime& end);

struct FtpAddress {
    QString host;
    QString port;      // text, "21" unless a valid one is given
    QString directory; // "/" when none is given
};

// Splits an FTP address as typed in the configuration: "servidor:2121/remessas/oc" gives host
// "servidor", port "2121" and directory "/remessas/oc"; "servidor/remessas" gives "servidor", "21"
// and "remessas".
FtpAddress SeparaEnderecoFTP(const QString& address);

// The digits of the text; punctuated as "99.999.999/9999-99" when asked. Digits beyond the 14th are
// kept at the end, so ValidaCNPJ can still tell that there are too many.
QString FormataCNPJ(const QString& text, bool punctuate);

// The first 9 characters, "-", then the rest; empty for an empty text.
QString FormataCPF(const QString& cpf);

// The text without leading and trailing blanks (the space only; tabs and other characters stay).
QString RemoveBrancos(const QString& text);

// The date-time written by a pattern of "dd", "MM", "yyyy", "hh", "mm", "ss", "zzz" (zero-padded to
// the run's width) and literal characters, digit by digit: for texts written once per row of a long
// run, where QDateTime::toString costs more than the row.
QString textoDataHoraRapido(const QDateTime& when, QStringView pattern);
