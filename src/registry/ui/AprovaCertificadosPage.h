#pragma once

#include <QWidget>

class QSqlQueryModel;
class QTableView;
class Session;

// The page "AprovaCertificados" of the main window: the complete certificates not yet approved;
// the selected ones are approved for sending together.
class AprovaCertificadosPage : public QWidget {
    Q_OBJECT
public:
    explicit AprovaCertificadosPage(Session& session, QWidget* parent = nullptr);

    // Reloads the candidates.
    void open();

signals:
    void finished(); // back to the main page

private:
    void aprovaSelecionados();
    void recarrega();
    void sai();

    Session& session_;
    QSqlQueryModel* qryAprovacao_;
    QTableView* DBGrid24_;
};
