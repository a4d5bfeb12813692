#pragma once

#include "ParadoxTable.h"

#include <QByteArray>
#include <functional>
#include <optional>

struct px_doc;

// Encodes one row into a Paradox record of the fields (the value rules of ParadoxTable): an
// empty text or a NULL is all zeros, a value that does not fit is refused. fail is called with
// the reason and must not return (it throws).
QByteArray encodeParadoxRecord(px_doc* doc, int recordSize, const QList<ParadoxField>& fields,
                               const ParadoxRow& row, const std::function<void(const QString&)>& fail);

// The column type of a field type code in a table's header; none for a type this reader does not know.
std::optional<ParadoxField::Type> paradoxFieldTypeOf(int pxType);
// The type's name in messages ("alfa", "short", "data", ...).
QString paradoxTypeName(ParadoxField::Type type);
