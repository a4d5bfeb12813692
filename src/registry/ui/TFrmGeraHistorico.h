#pragma once

#include "GeraHistorico.h"

#include <QDialog>

class DateMaskEdit;
class QLineEdit;
class QPushButton;
class QStandardItemModel;
class QTableView;

// "Histórico": the user's notes on one item of a certificate (the certificate, a company link, a
// product line, a service or a normative-document link): lists them, adds one with its own date and
// removes one the authority does not hold yet.
class TFrmGeraHistorico : public QDialog {
    Q_OBJECT
public:
    TFrmGeraHistorico(TDMCertif& certif, EventTable tabela, const QVariantList& chave, const QString& status,
                      std::optional<QDate> dataEmissao, QWidget* parent = nullptr);

    GeraHistorico& dm() { return dm_; }
    bool incluindo() const { return incluindo_; }

    void incluir();
    void aplicar();
    void cancela();
    void excluir();

private:
    void mostra(std::optional<int> localizar);
    void modoNavegacao();
    void linhaMudou();
    std::optional<int> seqAtual() const;

    GeraHistorico dm_;
    QList<NotaHistorico> notas_;
    bool incluindo_ = false;

    QStandardItemModel* model_;
    QTableView* grid_;
    DateMaskEdit* edtData_;
    QLineEdit* edtJustificativa_;
    QPushButton* incluir_;
    QPushButton* excluir_;
    QPushButton* aplicar_;
    QPushButton* cancelar_;
    QPushButton* sair_;
};
