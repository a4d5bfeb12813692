#pragma once

#include "AlteraStatusEmpresa.h"
#include "MudancaStatus.h"

#include <QGroupBox>
#include <functional>
#include <optional>

class QLabel;
class QPushButton;
class TDMCertif;

// A status group of the register ("Status do Certificado", "Status da Unidade", ...): the current
// item's status and date, and the two buttons that lead away from it. The three buttons share one
// handler that tells them apart by name. Hidden while there is no current item.
class GrupoStatus : public QGroupBox {
    Q_OBJECT
public:
    // The names of the group and of its two labels on the tab that holds it.
    struct Nomes {
        QString grupo;
        QString descricao;
        QString data;
    };
    // Shows the propagation screen for a company link with active lines or services.
    using AbrePropagacao = std::function<void(QWidget* parent, const EntradaAlteraStatus& entrada)>;

    GrupoStatus(TDMCertif& dm, ItemStatus item, const Nomes& nomes, QWidget* parent = nullptr);

    ItemStatus item() const { return item_; }
    // The current item, by its key in its event table's order; nothing hides the group. The
    // status is read from the database each time.
    void mostra(const std::optional<QVariantList>& chave);
    const std::optional<QVariantList>& chave() const { return chave_; }
    QString status() const { return status_; }

    // Replaces the propagation screen (by default TFrmAlteraStatusEmpresa).
    void setAbrePropagacao(AbrePropagacao abre) { abrePropagacao_ = std::move(abre); }

signals:
    // A status was written (or the propagation screen was closed): the tab reads its rows again.
    void alterado();

private:
    void botaoPressionado(const QString& nomeBotao);
    void atualizaBotoes();

    TDMCertif& dm_;
    ItemStatus item_;
    MudancaStatus mudanca_;
    AbrePropagacao abrePropagacao_;
    std::optional<QVariantList> chave_;
    QString status_;
    QLabel* descricao_;
    QLabel* data_;
    QPushButton* suspende_;
    QPushButton* ativa_;
    QPushButton* cancela_;
};
