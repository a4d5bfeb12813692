#pragma once

#include "TabelasKavorel.h"

#include <QList>
#include <QWidget>

class QSqlQueryModel;
class QTableView;
class QTabWidget;
class Session;

// The panel "Tabelas KAVOREL": the reference tables, read only, one tab each; a click on a column
// title orders that grid by the column.
class PanelTabKavorel : public QWidget {
    Q_OBJECT
public:
    PanelTabKavorel(Session& session, QWidget* parent = nullptr);

    void abre();  // opens the five queries
    void fecha(); // "Saída": closes them
    void ordena(int grid, int column);

    QTableView* grade(int index) const { return grades_.value(index); }
    QSqlQueryModel* modelo(int index) const { return modelos_.value(index); }
    const OrdemKavorel& ordem() const { return ordem_; }

signals:
    void saida();

private:
    void executa(int grid, const QString& ordem);

    Session& session_;
    QTabWidget* abas_;
    QList<QTableView*> grades_;
    QList<QSqlQueryModel*> modelos_;
    OrdemKavorel ordem_;
};
