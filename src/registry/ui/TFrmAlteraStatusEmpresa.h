#pragma once

#include "AlteraStatusEmpresa.h"

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSqlQueryModel;
class QTableView;
class Session;

// "Alteração de Status": a company link to be suspended or cancelled while its company still has
// active product lines or services in the certificate. "Propagar" gives them the company's new
// status; "Transferir" moves the active product lines to another company of the certificate. One
// opening does at most one of the two; leaving with "&Saída" writes nothing.
class TFrmAlteraStatusEmpresa : public QDialog {
    Q_OBJECT
public:
    TFrmAlteraStatusEmpresa(Session& session, JustificationAsker asker, EntradaAlteraStatus entrada,
                            QWidget* parent = nullptr);

    AlteracaoStatusEmpresa& operacao() { return operacao_; }

private:
    void preenche();
    void propagar();
    void transferir();

    AlteracaoStatusEmpresa operacao_;
    QSqlQueryModel* produtos_;
    QSqlQueryModel* servicos_;
    QTableView* gradeProdutos_;
    QTableView* gradeServicos_;
    QLabel* LbStatus_;
    QPushButton* BtnPropagar_;
    QGroupBox* GbTransferir_;
    QLineEdit* EdtEmpresaAtual_;
    QComboBox* cmbEmpVinculadaTipo_;
    QPushButton* BtnTransferir_;
};
