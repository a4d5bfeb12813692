#include "ParadoxWriter.h"

#include "DbError.h"

#include <QDir>

ParadoxWriter::ParadoxWriter(const QString& path, const QList<ParadoxField>& fields)
    : path_(path), fields_(fields) {
    fail(QStringLiteral("não implementado."));
}

ParadoxWriter::~ParadoxWriter() = default;

void ParadoxWriter::append(const ParadoxRow&) {}
void ParadoxWriter::finish() {}
void ParadoxWriter::discard() {}
void ParadoxWriter::flushBlock() {}

void ParadoxWriter::fail(const QString& what) const {
    throw DbError(QStringLiteral("Tabela Paradox %1: %2").arg(QDir::toNativeSeparators(path_), what));
}
