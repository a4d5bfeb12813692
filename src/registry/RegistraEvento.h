#pragma once

#include "Eventos.h"
#include "Justificativa.h"

#include <optional>

// One event for one item of the open certificate, written by the register: with the system's
// justification, or with one the user types (and a status date, when asked).
struct RegistroEvento {
    EventTable table;
    QVariantList key;          // the item's key, in the table's key order
    QString evento;            // INC, ALT, SUS, REA, CAN
    QString status;            // the item's status after the event
    QDateTime dataStatus;      // used unless a date is asked
    bool perguntaData = false; // ask the status date (status changes)
    bool perguntaJustificativa = false;
    bool aparaJustificativa = false; // company links, lots and services keep the typed text trimmed
};

// Returns the status date written, or nothing when the user cancelled the justification (then
// nothing is written). Throws DbError when the event cannot be written.
std::optional<QDateTime> registraEvento(const QSqlDatabase& db, const JustificationAsker& asker,
                                        const RegistroEvento& registro, const QDate& dataEmissao,
                                        const QString& usuario, const QDateTime& agora);
