#pragma once

#include "ChaveCertificado.h"

#include <QHash>
#include <QWidget>
#include <functional>

class QPushButton;
class QTabWidget;
class SlotPanel;
class TDMCertif;
class TabDadosGerais;

// The panel "Modifica Certificado": the selection of a certificate and the tabs of the open one,
// "Dados Gerais" and the five line tabs, with "Doc. Normativos" and "Cad. Histórico" below them.
class PanelModificaCertificado : public QWidget {
    Q_OBJECT
public:
    PanelModificaCertificado(TDMCertif& dm, QWidget* parent = nullptr);

    void setEscolheCertificado(EscolheCertificado chooser) { escolhe_ = std::move(chooser); }

    // Shows the open certificate on "Dados Gerais".
    void mostraCertificado();
    // "Seleciona Certificado".
    void selecionaCertificado();

    TabDadosGerais* dadosGerais() const { return dadosGerais_; }
    QTabWidget* abas() const { return abas_; }
    // The line tabs, by objectName (TabModificaEmp, TabModificaTipo, ...), for their screens to fill.
    SlotPanel* aba(const QString& name) const { return slots_.value(name); }

    // A line tab refuses to be left while this returns a message (its editor holds unapplied changes).
    void setRecusaSaida(QWidget* tab, std::function<QString()> reason);
    // The screens behind the two buttons below the tabs; until installed the buttons stay disabled.
    void setAcaoDocNorm(std::function<void()> action);
    void setAcaoHistorico(std::function<void()> action);
    // Whether the active tab has a current item for the two buttons (the certificate, a line).
    void setTemItemAtual(std::function<bool()> temItem);
    void atualizaBotoes();

signals:
    void saida();

private:
    void abaMudou(int index);
    QString motivoParaFicar(int index) const;
    // The line tab whose editor holds an inclusion or alteration, or -1.
    int abaEmEdicao() const;
    // With a line being edited: shows its tab with the tab's refusal, and answers true.
    bool recusaComLinhaEmEdicao();

    TDMCertif& dm_;
    EscolheCertificado escolhe_;
    TabDadosGerais* dadosGerais_;
    QTabWidget* abas_;
    QHash<QString, SlotPanel*> slots_;
    QHash<QWidget*, std::function<QString()>> recusas_;
    QPushButton* btbDocNorm_;
    QPushButton* btnCadHistorico_;
    std::function<void()> acaoDocNorm_;
    std::function<void()> acaoHistorico_;
    std::function<bool()> temItemAtual_;
    int abaAtual_ = 0;
    bool voltando_ = false;
};
