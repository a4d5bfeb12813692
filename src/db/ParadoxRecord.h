#pragma once

#include "ParadoxTable.h"

#include <QByteArray>
#include <functional>

struct px_doc;

// Encodes one row into a Paradox record of the fields (the value rules of ParadoxTable): an
// empty text or a NULL is all zeros, a value that does not fit is refused. fail is called with
// the reason and must not return (it throws).
QByteArray encodeParadoxRecord(px_doc* doc, int recordSize, const QList<ParadoxField>& fields,
                               const ParadoxRow& row, const std::function<void(const QString&)>& fail);
