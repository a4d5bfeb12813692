#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class QStandardItemModel;
class QTableView;
class Session;

// "Controle de Versões de Tabelas Auxiliares": the installed version and the history of
// installations, with the way to a newer version and back to an earlier one.
class TFrmPrincipalVersoes : public QDialog {
    Q_OBJECT
public:
    explicit TFrmPrincipalVersoes(Session& session, QWidget* parent = nullptr);

    // Re-reads the installed version and the history.
    void mostra();

signals:
    // After an installation: what the register offers is read again.
    void versaoInstalada();

private:
    void atualizaVersao();
    void versaoAnterior();

    Session& session_;
    QLineEdit* EdVersaoAtual_;
    QLineEdit* EdNomeArquivo_;
    QTableView* grade_;
    QStandardItemModel* modelo_;
    QPushButton* BtVersaoAnterior_;
    bool subTelaAberta_ = false; // one update or re-installation at a time
};
