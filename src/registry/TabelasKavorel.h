#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The five read-only views of the authority's reference tables.
struct ConsultaKavorel {
    QString nome;        // the query's name, objectName of its grid
    QString aba;         // tab caption
    QString sql;         // without ordering
    QStringList campos;  // the field at each column position
    QStringList titulos; // column titles
    QString ordemInicial;
};

namespace TabelasKavorel {

const QList<ConsultaKavorel>& consultas();

} // namespace TabelasKavorel

// The ordering of the last click on a column title, shared by the five grids: a field is sorted
// ascending, and descending when it was the last one sorted ascending.
class OrdemKavorel {
public:
    // Records the click and returns the clause, e.g. "Order by NomePais DESC".
    QString ordena(const QString& campo);
    const QString& ultimoCampo() const { return campo_; }
    bool descendente() const { return descendente_; }

private:
    QString campo_;
    bool descendente_ = false;
};
